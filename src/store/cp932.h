#pragma once

#include <QByteArray>
#include <QString>

namespace store {

// glibc's code page 932 converter quietly swaps these for look-alikes
// (¥ becomes '\', 〜 becomes ～) instead of refusing them, so they would come
// back changed. They are written as numeric character references instead.
bool cp932WouldChange(char32_t codePoint);

// Replaces those characters in markup text by numeric character references.
QString referenceCp932Lookalikes(const QString& text);

// The UTF-8 text in code page 932; every character it cannot hold, and every
// look-alike, becomes a decimal character reference, as libxml2 writes them.
QByteArray toCp932WithReferences(const QByteArray& utf8);

// Registers a code page 932 encoding for libxml2 that refuses the look-alikes,
// so its writer turns them into references like any character the code page lacks.
void registerCp932Encoding(const char* name);

} // namespace store
