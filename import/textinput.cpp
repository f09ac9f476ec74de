#include "textinput.h"

#include "fixfile.h"

#include <QFile>
#include <QFileInfo>

#include <array>
#include <charconv>
#include <system_error>

namespace skelvor {

TextInput readTextInput(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return {QStringLiteral("no such file"), {}};
  if (info.isDir()) return {QStringLiteral("is a folder, not a file"), {}};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {QStringLiteral("cannot be read: %1").arg(file.errorString()), {}};
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return {QStringLiteral("cannot be read: %1").arg(file.errorString()), {}};
  return {{}, decodeFixText(bytes)};
}

bool isDigits(QStringView text) {
  if (text.isEmpty()) return false;
  for (const QChar c : text)
    if (c < u'0' || c > u'9') return false;
  return true;
}

std::optional<double> decimalValue(QStringView text) {
  // Numbers are short; a long run of digits is no coordinate and is not worth converting.
  constexpr qsizetype kLongest = 40;
  if (text.isEmpty() || text.size() > kLongest) return std::nullopt;
  std::array<char, kLongest> latin{};
  bool digit = false;
  bool point = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c >= u'0' && c <= u'9') {
      digit = true;
    } else if (c == u'.' && !point) {
      point = true;
    } else if (!(c == u'-' && i == 0)) {
      return std::nullopt;
    }
    latin[static_cast<std::size_t>(i)] = static_cast<char>(c);
  }
  if (!digit) return std::nullopt;
  // from_chars reads the C format whatever the user's locale, and takes no leading point: "-.5" is read as "-0.5".
  std::array<char, kLongest + 1> padded{};
  qsizetype size = 0;
  qsizetype from = 0;
  if (latin[0] == '-') padded[static_cast<std::size_t>(size++)] = latin[static_cast<std::size_t>(from++)];
  if (latin[static_cast<std::size_t>(from)] == '.') padded[static_cast<std::size_t>(size++)] = '0';
  while (from < text.size()) padded[static_cast<std::size_t>(size++)] = latin[static_cast<std::size_t>(from++)];
  double value = 0;
  const auto [end, error] = std::from_chars(padded.data(), padded.data() + size, value);
  if (error != std::errc() || end != padded.data() + size) return std::nullopt;
  return value;
}

bool isCoordinate(QStringView text, double limit) {
  const std::optional<double> value = decimalValue(text);
  return value && *value >= -limit && *value <= limit;
}

}  // namespace skelvor
