#pragma once

#include <QByteArray>
#include <optional>

namespace history {

// Kept versions of large files are stored compressed, once the change that
// kept them is over: a notebook of years keeps ten times its weight in
// versions, and XML packs to about a tenth. A stored version that starts with
// the mark holds the size and the zlib stream of the version; any other is
// the version itself.
QByteArray packVersion(const QByteArray& version);
bool isPacked(const QByteArray& stored);
// The version a stored file holds; none when a packed one is damaged.
std::optional<QByteArray> unpackVersion(const QByteArray& stored);

} // namespace history
