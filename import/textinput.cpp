#include "textinput.h"

#include "fixfile.h"

#include <QFile>
#include <QFileInfo>

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

bool isCoordinate(QStringView text, double limit) {
  QStringView rest = text;
  if (rest.startsWith(u'-')) rest = rest.sliced(1);
  const qsizetype point = rest.indexOf(u'.');
  const QStringView whole = point < 0 ? rest : rest.first(point);
  const QStringView fraction = point < 0 ? QStringView() : rest.sliced(point + 1);
  if (whole.isEmpty() && fraction.isEmpty()) return false;
  if (!whole.isEmpty() && !isDigits(whole)) return false;
  if (point >= 0 && !fraction.isEmpty() && !isDigits(fraction)) return false;
  // Coordinates are short; a long run of digits is no coordinate and is not worth converting.
  if (rest.size() > 40) return false;
  bool ok = false;
  const double value = text.toDouble(&ok);
  return ok && value >= -limit && value <= limit;
}

}  // namespace skelvor
