#pragma once
// Windows code page 1251, the single-byte code page in which the device keeps user texts
// (partition user names): ASCII below 0x80, Cyrillic and punctuation above.
#include <QByteArray>
#include <QString>

#include <optional>

namespace q7x::image {

// Every byte maps to one character; 0x98, unused by the code page, maps to U+0098 so that any
// stored byte survives a read and a write.
QString fromCp1251(QByteArrayView bytes);
// The byte of one character, or nothing when the code page has no such character.
std::optional<char> toCp1251(QChar c);

} // namespace q7x::image
