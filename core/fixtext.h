#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

namespace skelvor {

/// The text of a fix file: UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark skipped), otherwise
/// Windows-1252, in which every byte value stands for a character.
QString decodeFixText(const QByteArray& bytes);

namespace detail {

/// The byte-order mark of UTF-8.
inline constexpr std::array<unsigned char, 3> kUtf8Bom = {0xEF, 0xBB, 0xBF};

/// Whether `bytes` is UTF-8 as the Unicode Standard defines its well-formed sequences.
bool isStrictUtf8(QByteArrayView bytes);
/// `bytes` read as Windows-1252.
QString fromWindows1252(QByteArrayView bytes);
/// Whether `bytes` holds ASCII only.
bool isAscii(QByteArrayView bytes);
/// `text` as a file of the given encoding writes it, or nothing when no bytes of it decode to it.
std::optional<QByteArray> encodeAs(QStringView text, bool utf8);

}  // namespace detail

}  // namespace skelvor
