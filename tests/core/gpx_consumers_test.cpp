#include "countryrows.h"
#include "gpxdocument.h"

#include "qt_printing.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

// Files written the way an export writes them, read by real GPX consumers: xmllint against the GPX 1.0 schema, and
// gpsbabel, whose waypoints must match what went in.
namespace skelvor {
using namespace Qt::StringLiterals;
namespace {

struct Fix {
  QString ident;  // column 0 of a waypoint line; the name is its first word
  QString name;
  QString latitude, longitude;
};

// Runs a tool to its end; the empty string on success, else what went wrong with the tool's own output.
QString run(const QString& tool, const QStringList& arguments) {
  if (QStandardPaths::findExecutable(tool).isEmpty()) return tool + u" is not installed"_s;
  QProcess process;
  process.setProcessChannelMode(QProcess::MergedChannels);
  process.start(tool, arguments);
  if (!process.waitForFinished(60000)) return tool + u" did not finish: "_s + process.errorString();
  const QString output = QString::fromUtf8(process.readAll());
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
    return tool + u" failed with code "_s + QString::number(process.exitCode()) + u": "_s + output;
  return {};
}

// The fields of one line of gpsbabel's unicsv output: separated by commas, quoted with doubled inner quotes.
QStringList csvFields(QStringView line) {
  QStringList fields{QString()};
  bool quoted = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (quoted && c == u'"' && i + 1 < line.size() && line[i + 1] == u'"') {
      fields.last() += c;
      ++i;
    } else if (c == u'"') {
      quoted = !quoted;
    } else if (c == u',' && !quoted) {
      fields.append(QString());
    } else {
      fields.last() += c;
    }
  }
  return fields;
}

// Exports `fixes` to a file, validates it and reads its waypoints back.
void expectConsumersAccept(const std::vector<Fix>& fixes) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString gpx = folder.filePath(u"VOK.gpx"_s);
  const QString csv = folder.filePath(u"VOK.csv"_s);

  QString lines;
  for (const Fix& fix : fixes) lines += fix.ident + u";LF;"_s + fix.latitude + u';' + fix.longitude + u"\r\n"_s;
  const CountryRows rows(FixLines(lines.toUtf8()), u"LF", u"WPT");
  GpxDocument document;
  document.append(rows, std::vector<bool>(fixes.size(), true));
  const WriteResult written = document.write(gpx);
  ASSERT_TRUE(written.ok) << written.error;

  const QString validation =
      run(u"xmllint"_s, {u"--nonet"_s, u"--noout"_s, u"--schema"_s, QStringLiteral(SKELVOR_GPX10_SCHEMA), gpx});
  EXPECT_TRUE(validation.isEmpty()) << validation;

  const QString conversion = run(u"gpsbabel"_s, {u"-i"_s, u"gpx"_s, u"-f"_s, gpx, u"-o"_s, u"unicsv"_s, u"-F"_s, csv});
  ASSERT_TRUE(conversion.isEmpty()) << conversion;
  QFile file(csv);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QStringList csvLines = QString::fromUtf8(file.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts);
  ASSERT_EQ(csvLines.size(), static_cast<qsizetype>(fixes.size()) + 1) << csvLines.join(u'\n');
  const QStringList header = csvFields(csvLines[0]);
  const qsizetype latitudeColumn = header.indexOf(u"Latitude"_s);
  const qsizetype longitudeColumn = header.indexOf(u"Longitude"_s);
  const qsizetype nameColumn = header.indexOf(u"Name"_s);
  ASSERT_TRUE(latitudeColumn >= 0 && longitudeColumn >= 0 && nameColumn >= 0) << csvLines[0];
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    const Fix& fix = fixes[i];
    const QStringList fields = csvFields(csvLines[static_cast<qsizetype>(i) + 1]);
    ASSERT_EQ(fields.size(), header.size()) << csvLines[static_cast<qsizetype>(i) + 1];
    EXPECT_EQ(fields[nameColumn], fix.name);
    EXPECT_NEAR(fields[latitudeColumn].toDouble(), fix.latitude.toDouble(), 5e-7) << fix.name;
    EXPECT_NEAR(fields[longitudeColumn].toDouble(), fix.longitude.toDouble(), 5e-7) << fix.name;
  }
}

TEST(GpxConsumers, AcceptPlainAsciiNames) {
  expectConsumersAccept({{u"LFPG  ---  Paris Charles de Gaulle"_s, u"LFPG"_s, u"49.009722"_s, u"2.547778"_s},
                         {u"BOR (LF) 114.60"_s, u"BOR"_s, u"44.830000"_s, u"-0.700000"_s},
                         {u"ALPHA"_s, u"ALPHA"_s, u"-33.946111"_s, u"151.177222"_s},
                         {u"EDGE"_s, u"EDGE"_s, u"-90"_s, u"180"_s}});
}

TEST(GpxConsumers, AcceptAccentedAndSpecialNames) {
  expectConsumersAccept({{u"Zürich  ---  Kloten"_s, u"Zürich"_s, u"47.464722"_s, u"8.549167"_s},
                         {u"Besançon"_s, u"Besançon"_s, u"47.2"_s, u"6.0"_s},
                         {u"Ærøskøbing"_s, u"Ærøskøbing"_s, u"54.888"_s, u"10.411"_s},
                         {u"Αθήνα"_s, u"Αθήνα"_s, u"37.936389"_s, u"23.947222"_s},
                         {u"A&B (LF) x"_s, u"A&B"_s, u"45"_s, u"5"_s},
                         {u"<X>"_s, u"<X>"_s, u"46"_s, u"6"_s},
                         {u"Q\"Z,L'Y"_s, u"Q\"Z,L'Y"_s, u"47"_s, u"7"_s}});
}

}  // namespace
}  // namespace skelvor
