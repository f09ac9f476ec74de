#include "fixfile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace skelvor {

namespace {

QString readFailure(const QString& path, const QFile& file) {
  return QStringLiteral("Cannot read %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
}

// Opens the fix file at `path` for reading. Returns the reason in plain words when it cannot, else nothing.
QString openFixFile(const QString& path, QFile& file) {
  // Opening a pipe waits for a writer that may never come, and a device may never end: only regular files are read.
  if (const QFileInfo info(path); info.exists() && !info.isFile())
    return QStringLiteral("Cannot read %1: it is not a regular file").arg(info.fileName());
  file.setFileName(path);
  if (file.open(QIODevice::ReadOnly)) return {};
  return readFailure(path, file);
}

// Reads the rest of `file` into `bytes`; false when it cannot. The buffer is made the file's size at once: growing it
// as it fills could take nearly twice the room.
bool readWhole(QFile& file, QByteArray& bytes) {
  if (const qint64 size = file.size(); size > 0) {
    bytes = QByteArray(size, Qt::Uninitialized);
    bytes.truncate(std::max<qint64>(file.read(bytes.data(), size), 0));
  }
  if (file.error() == QFileDevice::NoError) bytes += file.readAll();  // what the size did not show, if anything
  return file.error() == QFileDevice::NoError;
}

// Splits `file` into lines, given to `visit`, and returns through `splitter` whether it is UTF-8; false when it cannot
// be read. With `whole`, the file is read into `buffer` as one block, into which the lines are views; otherwise a
// block at a time, and only a block and the line it ends in take room.
template <typename Visit>
bool splitFile(QFile& file, detail::LineSplitter& splitter, bool whole, QByteArray& buffer, Visit visit) {
  if (whole) {
    if (!readWhole(file, buffer)) return false;
    const QByteArrayView all = buffer;
    splitter.finish(all.sliced(splitter.splitBlock(all, 0, visit)), visit);
    return true;
  }
  constexpr qint64 kBlock = qint64{1} << 18;
  for (;;) {
    const qsizetype carried = buffer.size();
    buffer.resize(carried + kBlock);
    const qint64 read = file.read(buffer.data() + carried, kBlock);
    if (read < 0) return false;
    buffer.truncate(carried + read);
    if (read == 0) {
      splitter.finish(buffer, visit);
      return true;
    }
    buffer.remove(0, splitter.splitBlock(buffer, carried, visit));
  }
}

}  // namespace

FixFileLines readFixFileLines(const QString& path, const LineFilter& filter) {
  FixFileLines result;
  QFile file;
  result.error = openFixFile(path, file);
  if (!result.error.isEmpty()) return result;

  const bool everyLine = std::holds_alternative<EveryLine>(filter);
  const auto* const test = std::get_if<LineTest>(&filter);
  std::vector<QByteArray> wanted;
  if (const auto* const chosen = std::get_if<CodesFilter>(&filter))
    for (const QString& code : chosen->codes)
      if (std::optional<QByteArray> bytes = detail::encodeAs(code, chosen->utf8)) wanted.push_back(std::move(*bytes));
  detail::CodeSet codes;
  std::vector<bool> codeWanted;  // by the number of a code in `codes`
  FixLines::Builder kept;
  QByteArray buffer;
  std::vector<qsizetype> ends;  // of every line, in `buffer`, on a read of every line
  bool first = true;
  bool firstKept = false;  // the first line kept is the file's first line
  // Numbers the code of a line and counts the room the lines of that code take; the code's number.
  const auto countLine = [&](QByteArrayView code, QByteArrayView line) {
    const std::size_t number = codes.add(code);
    if (number == result.room.size()) result.room.emplace_back();
    result.room[number].bytes += line.size() + 1;
    ++result.room[number].lines;
    return number;
  };
  // A read of every line asks no filter: the click on a file takes this road.
  const auto visitEvery = [&](QByteArrayView line) {
    if (const std::optional<QByteArrayView> code = detail::countryField(line)) countLine(*code, line);
    ends.push_back(line.data() + line.size() - buffer.constData());
  };
  const auto visit = [&](QByteArrayView line) {
    bool keep = false;
    if (const std::optional<QByteArrayView> code = detail::countryField(line)) {
      const std::size_t number = countLine(*code, line);
      if (number == codeWanted.size())
        codeWanted.push_back(std::any_of(wanted.begin(), wanted.end(),
                                         [&code](const QByteArray& w) { return detail::sameBytes(*code, w); }));
      keep = codeWanted[number];
    }
    if (test) keep = (*test)(line);
    if (keep) kept.add(line);
    firstKept = firstKept || (first && keep);
    first = false;
  };
  detail::LineSplitter splitter;
  if (everyLine) ends.reserve(static_cast<std::size_t>(std::max<qint64>(file.size(), 0) / 16));
  if (everyLine ? !splitFile(file, splitter, true, buffer, visitEvery)
                : !splitFile(file, splitter, false, buffer, visit)) {
    result.error = readFailure(path, file);
    result.room.clear();
    return result;
  }
  if (everyLine) kept = FixLines::Builder(std::move(buffer), std::move(ends));
  result.ok = true;
  result.codes = codes.decoded(splitter.isUtf8());
  result.lines = std::move(kept).finish(splitter.isUtf8(), everyLine || firstKept);
  return result;
}

QString fileKind(const QString& fileName, const QString& previous) {
  QString kind = previous;
  if (fileName.contains(u"Navaid")) kind = QLatin1StringView(kNavaids);
  if (fileName.contains(u"Waypoint")) kind = QLatin1StringView(kWaypoints);
  if (fileName.contains(u"Airport")) kind = QLatin1StringView(kAirports);
  return kind;
}

}  // namespace skelvor
