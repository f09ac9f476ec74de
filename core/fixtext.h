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
/// Writes `bytes`, decoded as UTF-8 (`utf8`) or Windows-1252, at `out`, which has room for one 16-bit character per
/// byte, and returns the end of what it wrote. A byte-order mark is kept as the character it is. Pieces of valid text
/// cut at ASCII bytes decode to the pieces of the decoded text.
char16_t* decodeInto(QByteArrayView bytes, bool utf8, char16_t* out);
/// `text` as a file of the given encoding writes it, or nothing when no bytes of it decode to it.
std::optional<QByteArray> encodeAs(QStringView text, bool utf8);

}  // namespace detail

}  // namespace skelvor
