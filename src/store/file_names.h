#pragma once

#include <QString>

namespace store {

// A file name for a save dialog to propose, made of what a record is called:
// the characters a file name cannot hold here or on Windows (/ \ : * ? " < > |
// and control characters) become "_", spaces and dots at either end go, and a
// long text is cut to a length every file system takes. When nothing is left,
// the fallback is proposed instead. The extension starts with its dot.
QString proposedFileName(const QString& text, const QString& extension, const QString& fallback);

} // namespace store
