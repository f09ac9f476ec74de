#include "fixfile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace skelvor {

namespace {

// Opens the fix file at `path` for reading. Returns the reason in plain words when it cannot, else nothing.
QString openFixFile(const QString& path, QFile& file) {
  // Opening a pipe waits for a writer that may never come, and a device may never end: only regular files are read.
  if (const QFileInfo info(path); info.exists() && !info.isFile())
    return QStringLiteral("Cannot read %1: it is not a regular file").arg(info.fileName());
  file.setFileName(path);
  if (file.open(QIODevice::ReadOnly)) return {};
  return QStringLiteral("Cannot read %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
}

QString readFailure(const QString& path, const QFile& file) {
  return QStringLiteral("Cannot read %1: %2").arg(QFileInfo(path).fileName(), file.errorString());
}

// Reads the file at `path` whole into `bytes`. Returns the reason in plain words when it cannot, else nothing. The
// buffer is made the file's size at once: growing it as it fills could take nearly twice the room.
QString readWholeFile(const QString& path, QByteArray& bytes) {
  QFile file;
  if (QString error = openFixFile(path, file); !error.isEmpty()) return error;
  const qint64 size = file.size();
  if (size > 0) {
    bytes = QByteArray(size, Qt::Uninitialized);
    bytes.truncate(std::max<qint64>(file.read(bytes.data(), size), 0));
  }
  if (file.error() == QFileDevice::NoError) bytes += file.readAll();  // what the size did not show, if anything
  if (file.error() == QFileDevice::NoError) return {};
  bytes.clear();
  return readFailure(path, file);
}

// Reads the file at `path` a block at a time and calls `visit` with the bytes of every line, split as FixLines splits
// the whole file; a byte-order mark is still part of the first line. Once the lines of a block are visited, `visitRun`
// gets the bytes they span, line ends included: the file is the sequence of these runs. Only a block and the line it
// ends in take room. Returns the reason in plain words when the file cannot be read, else nothing.
template <typename Visit, typename VisitRun>
QString forEachLineOfFile(const QString& path, Visit visit, VisitRun visitRun) {
  QFile file;
  if (QString error = openFixFile(path, file); !error.isEmpty()) return error;
  constexpr qint64 kBlock = qint64{1} << 18;
  QByteArray buffer;
  bool afterCr = false;  // the last block ended with a CR, whose LF may start this one
  for (;;) {
    const qsizetype carried = buffer.size();
    buffer.resize(carried + kBlock);
    const qint64 read = file.read(buffer.data() + carried, kBlock);
    if (read < 0) return readFailure(path, file);
    buffer.truncate(carried + read);
    const bool atEnd = read == 0;
    qsizetype start = 0;
    if (std::exchange(afterCr, false) && !buffer.isEmpty() && buffer.at(0) == '\n') start = 1;
    // What was carried over holds no line end: only the new bytes are looked at, so a long line is scanned once.
    const qsizetype offset = std::max(start, carried);
    qsizetype crAt = -2;
    detail::scanLineEnds(QByteArrayView(buffer).sliced(offset), [&](qsizetype at) {
      at += offset;
      if (buffer.at(at) == '\n' && at == crAt + 1) {  // the LF of a CR LF
        start = at + 1;
        return;
      }
      if (buffer.at(at) == '\r') {
        crAt = at;
        afterCr = at + 1 == buffer.size();
      }
      visit(QByteArrayView(buffer).sliced(start, at - start));
      start = at + 1;
    });
    if (atEnd) {
      if (start < buffer.size()) visit(QByteArrayView(buffer).sliced(start));
      visitRun(QByteArrayView(buffer));
      return {};
    }
    visitRun(QByteArrayView(buffer).first(start));
    buffer.remove(0, start);
  }
}

// The distinct country codes of a file read a block at a time, kept as bytes in the order of first appearance, as
// collectCodes gives them for the whole file.
class CodeList {
 public:
  /// The number of the code of `line`, or nothing when the line has no field 1.
  std::optional<std::size_t> add(QByteArrayView line) {
    const std::optional<QByteArrayView> code = detail::countryField(line);
    if (!code) return std::nullopt;
    // Lines of one country often follow each other, so the last code is checked first.
    if (!codes_.empty() && detail::sameBytes(*code, codes_[current_])) return current_;
    const auto found = seen_.find(std::string_view(code->data(), static_cast<std::size_t>(code->size())));
    if (found != seen_.end()) return current_ = found->second;
    current_ = codes_.size();
    codes_.push_back(code->toByteArray());
    seen_.emplace(std::string_view(codes_.back().constData(), static_cast<std::size_t>(codes_.back().size())),
                  current_);
    return current_;
  }
  /// The codes, decoded as lines of UTF-8 (`utf8`) or Windows-1252 decode.
  QStringList decoded(bool utf8) const {
    QStringList texts;
    QString text;
    for (const QByteArray& code : codes_) {
      FixLines::decode(code, utf8, text);
      texts.append(text);
    }
    return texts;
  }

 private:
  std::vector<QByteArray> codes_;  // a code's bytes stay where they are when the vector grows
  std::unordered_map<std::string_view, std::size_t> seen_;
  std::size_t current_ = 0;
};

}  // namespace

FixFileLines readFixFileLines(const QString& path) {
  FixFileLines result;
  QByteArray bytes;
  result.error = readWholeFile(path, bytes);
  result.ok = result.error.isEmpty();
  if (result.ok) result.lines = FixLines(std::move(bytes));
  return result;
}

// Which file a pass read: a file changed between two passes gives lines that the codes of the first do not describe.
FixFileStamp stampOf(const QString& path) {
  const QFileInfo info(path);
  return {info.size(), info.lastModified()};
}

FixFileCodes readFixFileCodes(const QString& path) {
  FixFileCodes result;
  result.stamp = stampOf(path);
  // The codes are kept as bytes until the whole file has told how it decodes, each with the room its lines take.
  CodeList codes;
  bool utf8 = true;
  result.error = forEachLineOfFile(
      path,
      [&](QByteArrayView line) {
        const std::optional<std::size_t> code = codes.add(line);
        if (!code) return;
        if (*code == result.room.size()) result.room.push_back({0, 0});
        result.room[*code].bytes += line.size() + 1;
        ++result.room[*code].lines;
      },
      // A valid UTF-8 sequence holds no CR or LF byte, so the file is valid UTF-8 exactly when each run is.
      [&utf8](QByteArrayView run) { utf8 = utf8 && detail::isStrictUtf8(run); });
  if (!result.error.isEmpty()) {
    result.room.clear();
    return result;
  }
  result.ok = true;
  result.utf8 = utf8;
  result.codes = codes.decoded(utf8);
  return result;
}

FixFileSelection readFixFileLinesWhere(const QString& path, const std::function<bool(QByteArrayView)>& keep) {
  FixFileSelection result;
  CodeList codes;
  bool utf8 = true;
  bool first = true;
  bool bomKept = false;  // the first line, which starts with a byte-order mark, is kept
  FixLines& kept = result.lines;
  // Each kept line is followed by an LF, which ends a line in either encoding.
  result.error = forEachLineOfFile(
      path,
      [&](QByteArrayView line) {
        codes.add(line);
        const bool bom = std::exchange(first, false) &&
                         line.startsWith(QByteArrayView(detail::kUtf8Bom.data(), detail::kUtf8Bom.size()));
        if (!keep(line)) return;
        bomKept = bomKept || bom;
        kept.bytes_.append(line);
        kept.ends_.push_back(kept.bytes_.size());
        kept.bytes_.append('\n');
      },
      [&utf8](QByteArrayView run) { utf8 = utf8 && detail::isStrictUtf8(run); });
  result.ok = result.error.isEmpty();
  if (!result.ok) {
    kept = FixLines();
    return result;
  }
  // The mark is no text in a UTF-8 file, and the first letters of the line in a Windows-1252 one.
  kept.utf8_ = utf8;
  if (utf8 && bomKept) kept.begin_ = detail::kUtf8Bom.size();
  result.codes = codes.decoded(utf8);
  return result;
}

bool readInTwoPasses(qint64 size) { return size > (qint64{4} << 20); }

FixFileLines readFixFileLinesOf(const QString& path, const FixFileCodes& file, const QStringList& codes) {
  FixFileLines result;
  std::vector<QByteArray> wanted;
  for (const QString& code : codes)
    if (std::optional<QByteArray> bytes = detail::encodeAs(code, file.utf8)) wanted.push_back(std::move(*bytes));
  FixLines& kept = result.lines;
  kept.utf8_ = file.utf8;
  qsizetype bytes = 0;
  qsizetype lines = 0;
  for (const QString& code : codes)
    if (const qsizetype i = file.codes.indexOf(code); i >= 0) {
      bytes += file.room[static_cast<std::size_t>(i)].bytes;
      lines += file.room[static_cast<std::size_t>(i)].lines;
    }
  const auto changed = [&path, &file](FixFileLines& read) {
    if (read.ok && stampOf(path) != file.stamp) {
      read = FixFileLines();
      read.error =
          QStringLiteral("%1 changed while it was read; try again once it is written").arg(QFileInfo(path).fileName());
    }
    return read;
  };
  // Lines that make up most of the file are read quicker with the file whole, in twice their room at most.
  if (2 * bytes >= file.stamp.size) {
    FixFileLines whole = readFixFileLines(path);
    return changed(whole);
  }
  kept.bytes_.reserve(bytes);
  kept.ends_.reserve(static_cast<std::size_t>(lines));
  bool first = true;
  // Each kept line is followed by an LF, which ends a line in either encoding.
  result.error = forEachLineOfFile(
      path,
      [&](QByteArrayView line) {
        if (std::exchange(first, false) && file.utf8 &&
            line.startsWith(QByteArrayView(detail::kUtf8Bom.data(), detail::kUtf8Bom.size())))
          line = line.sliced(detail::kUtf8Bom.size());
        const std::optional<QByteArrayView> code = detail::countryField(line);
        if (!code || std::none_of(wanted.begin(), wanted.end(),
                                  [&code](const QByteArray& w) { return detail::sameBytes(*code, w); }))
          return;
        kept.bytes_.append(line);
        kept.ends_.push_back(kept.bytes_.size());
        kept.bytes_.append('\n');
      },
      [](QByteArrayView) {});
  result.ok = result.error.isEmpty();
  if (!result.ok) result.lines = FixLines();
  return changed(result);
}

QString fileKind(const QString& fileName, const QString& previous) {
  QString kind = previous;
  if (fileName.contains(u"Navaid")) kind = QLatin1StringView(kNavaids);
  if (fileName.contains(u"Waypoint")) kind = QLatin1StringView(kWaypoints);
  if (fileName.contains(u"Airport")) kind = QLatin1StringView(kAirports);
  return kind;
}

}  // namespace skelvor
