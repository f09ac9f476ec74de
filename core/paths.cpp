#include "paths.h"

#include <QDir>
#include <QSet>

namespace skelvor {

namespace {

// Characters that Windows, macOS or Linux refuse in a file name, besides the controls.
constexpr QStringView kRefusedCharacters = u"/\\:*?\"<>|";

// Long enough for any country name, short enough for every file system once ".gpx" and a suffix are added.
constexpr qsizetype kLongestName = 100;

// Names that Windows keeps for devices, whatever follows their first dot.
bool isDeviceName(QStringView name) {
  const QStringView stem = name.first(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
  for (const char* device : {"CON", "PRN", "AUX", "NUL"})
    if (stem.compare(QLatin1StringView(device), Qt::CaseInsensitive) == 0) return true;
  if (stem.size() != 4 || !stem[3].isDigit() || stem[3] == u'0') return false;
  return stem.first(3).compare(u"COM", Qt::CaseInsensitive) == 0 ||
         stem.first(3).compare(u"LPT", Qt::CaseInsensitive) == 0;
}

}  // namespace

QString inFolder(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return QDir::toNativeSeparators(name);
  const bool endsInSeparator = folder.endsWith(u'/') || folder.endsWith(u'\\');
  return QDir::toNativeSeparators(endsInSeparator ? folder + name : folder + u'/' + name);
}

QString safeFileName(QString name) {
  if (name.size() > kLongestName)
    name.truncate(name[kLongestName - 1].isHighSurrogate() ? kLongestName - 1 : kLongestName);
  for (QChar& c : name)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || kRefusedCharacters.contains(c)) c = u'_';
  for (qsizetype i = name.size() - 1; i >= 0 && (name[i] == u'.' || name[i] == u' '); --i) name[i] = u'_';
  if (name.startsWith(u'.')) name[0] = u'_';
  if (name.isEmpty()) name = QStringLiteral("_");
  if (isDeviceName(name)) name += u'_';
  return name;
}

// A suffix of a safe name keeps it safe: it ends in ")" or a digit and leaves the name's start alone.
QStringList countryFileNames(const QStringList& codes, const TerritoryTable& table) {
  QSet<QString> taken;
  QStringList names;
  for (const QString& code : codes) {
    const QString base = safeFileName(countryName(table, code).value_or(code));
    QString name = base;
    if (taken.contains(name.toCaseFolded())) name = base + QStringLiteral(" (") + safeFileName(code) + u')';
    for (int n = 2; taken.contains(name.toCaseFolded()); ++n) name = base + u' ' + QString::number(n);
    taken.insert(name.toCaseFolded());
    names.append(name);
  }
  return names;
}

}  // namespace skelvor
