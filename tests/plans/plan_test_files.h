#pragma once

#include "support/files.h"

#include <QByteArray>
#include <QString>

namespace plantest {

inline const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n";

using testsupport::readBytes;
using testsupport::writeBytes;

// A plan file as Windows writes it: the declaration, then the elements on one line.
inline QByteArray planFile(const QByteArray& body) {
    return kDeclaration + "<data>" + body + "</data>\n";
}

} // namespace plantest
