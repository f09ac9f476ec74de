#include "importjob.h"

#include "fixlines.h"
#include "ourairports.h"
#include "paths.h"
#include "savefile.h"
#include "xplanefixes.h"
#include "xplanenavaids.h"

#include <QDir>
#include <QFileInfo>

#include <array>
#include <utility>

namespace skelvor {

namespace {

// A fix file ready to be written.
struct PendingFile {
  QString name;
  ConvertedLines content;
};

// Why the output folder cannot take the files, or empty.
QString folderProblem(const QString& folder) {
  const QFileInfo info(folder);
  if (!info.exists()) return QStringLiteral("no such folder");
  if (!info.isDir()) return QStringLiteral("is not a folder");
  if (!folderTakesNewFiles(folder)) return unwritableFolderCause(isProgramFolder(folder), u"--output");
  return {};
}

ImportOutcome refused(const QString& file, const QString& cause) { return {QDir::toNativeSeparators(file), cause, {}}; }

// Writes every file, each through a temporary file; stops at the first that cannot be written.
ImportOutcome writeAll(const QString& folder, QList<PendingFile>& files) {
  ImportOutcome outcome;
  for (PendingFile& file : files) {
    const QString path = inFolder(folder, file.name);
    const WriteResult written = writeFileAtomically(path, fixFileBytes(file.content.lines));
    if (written.busy) return refused(path, busyFileCause(u"import"));
    if (!written.ok) return refused(path, written.error);
    outcome.files.append({file.name, file.content.lines.size(), std::move(file.content.skipped)});
  }
  return outcome;
}

// Rows passed over by a reader come first in the report of their file, with those of the conversion after them.
ConvertedLines withReaderSkips(ConvertedLines lines, QList<Skipped> readerSkips) {
  readerSkips.append(std::move(lines.skipped));
  lines.skipped = std::move(readerSkips);
  return lines;
}

}  // namespace

QString nameProblem(const QString& name) {
  if (name.trimmed().isEmpty()) return QStringLiteral("the name is empty");
  for (const QChar c : name)
    if (c == u'/' || c == u'\\' || c == u':' || c < u' ')
      return QStringLiteral("the name must be a plain file name, without / \\ : or control characters");
  for (const char* word : {"Navaid", "Waypoint", "Airport"})
    if (name.contains(QLatin1StringView(word)))
      return QStringLiteral("the name must not hold \"%1\": the window tells a file's kind by that word")
          .arg(QLatin1StringView(word));
  return {};
}

ImportOutcome importOurAirports(const OurAirportsImport& job, const ReadingNotice& reading) {
  if (const QString problem = folderProblem(job.outputFolder); !problem.isEmpty())
    return refused(job.outputFolder, problem);
  if (reading) reading(job.airports);
  const AirportsRead airports = readOurAirportsAirportsFile(job.airports);
  if (!airports.ok()) return refused(job.airports, airports.error);
  NavaidsRead navaids;
  if (!job.navaids.isEmpty()) {
    if (reading) reading(job.navaids);
    navaids = readOurAirportsNavaidsFile(job.navaids);
    if (!navaids.ok()) return refused(job.navaids, navaids.error);
  }
  AirportLines airportFile = airportLines(airports.records);
  ConvertedLines navaidFile;
  if (!job.navaids.isEmpty())
    navaidFile = withReaderSkips(navaidLines(navaids.records, airportFile.written), navaids.skipped);
  QList<PendingFile> files;
  files.append({job.name + QStringLiteral(" Airports.csv"), withReaderSkips(std::move(airportFile), airports.skipped)});
  if (!job.navaids.isEmpty()) files.append({job.name + QStringLiteral(" Navaids.csv"), std::move(navaidFile)});
  return writeAll(job.outputFolder, files);
}

ImportOutcome importXPlane(const XPlaneImport& job, const ReadingNotice& reading) {
  if (const QString problem = folderProblem(job.outputFolder); !problem.isEmpty())
    return refused(job.outputFolder, problem);
  QList<PendingFile> files;
  if (!job.fixes.isEmpty()) {
    if (reading) reading(job.fixes);
    const XPlaneFixesRead fixes = readXPlaneFixesFile(job.fixes);
    if (!fixes.ok()) return refused(job.fixes, fixes.error);
    files.append({job.name + QStringLiteral(" Waypoints.csv"),
                  withReaderSkips(waypointLines(fixes.fixes, job.terminal), fixes.skipped)});
  }
  if (!job.navaids.isEmpty()) {
    if (reading) reading(job.navaids);
    const XPlaneNavaidsRead navaids = readXPlaneNavaidsFile(job.navaids);
    if (!navaids.ok()) return refused(job.navaids, navaids.error);
    files.append(
        {job.name + QStringLiteral(" Navaids.csv"), withReaderSkips(navaidLines(navaids.navaids), navaids.skipped)});
  }
  return writeAll(job.outputFolder, files);
}

QString reportText(const ImportOutcome& outcome) {
  constexpr qsizetype kMalformedShown = 5;
  constexpr std::array kReasons = {SkipReason::Malformed,        SkipReason::Closed,
                                   SkipReason::NotAnAirfield,    SkipReason::UnknownType,
                                   SkipReason::NoIcaoIdentifier, SkipReason::DuplicateIdentifier,
                                   SkipReason::NoCountry,        SkipReason::UserDefinedRegion,
                                   SkipReason::TerminalFix,      SkipReason::OtherRowCode};
  QString text;
  for (const ImportedFile& file : outcome.files) {
    text += QStringLiteral("%1: %2 lines written\n").arg(file.name).arg(file.written);
    for (const SkipReason reason : kReasons) {
      qsizetype count = 0;
      QStringList examples;
      for (const Skipped& skipped : file.skipped) {
        if (skipped.reason != reason) continue;
        ++count;
        if (reason == SkipReason::Malformed && examples.size() < kMalformedShown)
          examples << QStringLiteral("line %1: %2").arg(skipped.line).arg(skipped.detail);
      }
      if (count == 0) continue;
      text += QStringLiteral("  left out, %1: %2").arg(describe(reason)).arg(count);
      if (!examples.isEmpty())
        text += QStringLiteral(" (%1%2)").arg(examples.join(QStringLiteral("; ")),
                                              count > examples.size() ? QStringLiteral("; ...") : QString());
      text += u'\n';
    }
  }
  return text;
}

}  // namespace skelvor
