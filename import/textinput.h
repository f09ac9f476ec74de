#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace skelvor {

/// The text of an input file, decoded as the window decodes fix files, or the reason it cannot be read.
struct TextInput {
  QString error;
  QString text;
  bool ok() const { return error.isEmpty(); }
};

/// Reads the file at `path` whole and decodes it: UTF-8 when it is valid UTF-8, Windows-1252 otherwise.
TextInput readTextInput(const QString& path);

/// Whether `text` is a coordinate a GPX file accepts as it stands: a plain decimal number (an optional minus sign,
/// digits, an optional point and digits; no exponent, no blanks) no further from zero than `limit`.
bool isCoordinate(QStringView text, double limit);

/// The value of `text` when it is a plain decimal number: an optional minus sign, digits, an optional point and
/// digits, at least one digit, no exponent, no blanks. Read the same in every locale.
std::optional<double> decimalValue(QStringView text);

/// Whether `text` is a whole number written with the digits 0 to 9 only.
bool isDigits(QStringView text);

}  // namespace skelvor
