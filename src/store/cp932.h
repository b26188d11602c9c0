#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace store {

// glibc's code page 932 converter quietly swaps these for look-alikes
// (¥ becomes '\', 〜 becomes ～) instead of refusing them, so they would come
// back changed. They are written as numeric character references instead.
bool cp932WouldChange(char32_t codePoint);

// Replaces those characters in markup text by numeric character references.
QString referenceCp932Lookalikes(const QString& text);

// The code page 932 bytes of the character as glibc's converter gives them,
// lead byte high for a double-byte character: below 0x100 for a single byte,
// 0 when the code page lacks the character or it is one of the look-alikes.
quint16 cp932Code(char16_t u);

// The text in code page 932 as glibc's converter writes it (look-alikes
// included), each character the code page lacks as `lacking` spells its code
// point. Throws std::runtime_error when the system has no converter.
QByteArray encodeCp932(const QString& text, const std::function<QByteArray(char32_t)>& lacking);

// Code page 932 bytes as text, the way Windows reads them. A byte that starts no
// character of the code page becomes U+FFFD and the rest still comes through.
// Null when the system has no converter for the code page.
QString decodeCp932(const QByteArray& bytes);

// Registers a code page 932 encoding for libxml2 that refuses the look-alikes,
// so its writer turns them into references like any character the code page lacks.
void registerCp932Encoding(const char* name);

} // namespace store
