#include "fixfile.h"
#include "fixreference.h"

#include "qt_printing.h"
#include "testrows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace skelvor {
using namespace Qt::StringLiterals;
namespace {

// Two airports in Windows-1252 with an empty line between them and no line end after the last.
constexpr char kTwoAirports[] =
    "LFMH;LF;A;EBU;45.5406;4.2964;1325;2300;Saint-\xC9tienne\r\n\r\nLFQA;LF;A;;49.2071;4.1566;312;1500;Reims";

bool writeFile(const QString& path, QByteArrayView bytes) {
  QFile out(path);
  return out.open(QIODevice::WriteOnly) && out.write(bytes.data(), bytes.size()) == bytes.size();
}

// Names each parameterised case after its `name` member.
constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

// ---- Lines

struct SplitCase {
  const char* name;
  QString text;
  QStringList lines;
};

class SplitLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, EndsLinesAtCrLfLfAndCr) { EXPECT_EQ(splitLines(GetParam().text), GetParam().lines); }

INSTANTIATE_TEST_SUITE_P(FixFile, SplitLines,
                         ::testing::Values(SplitCase{"EmptyText", u""_s, {}},
                                           SplitCase{"OneLineWithoutEnd", u"a;LF"_s, {u"a;LF"_s}},
                                           SplitCase{"CrLfTerminated", u"a\r\nb\r\n"_s, {u"a"_s, u"b"_s}},
                                           SplitCase{"CrLfUnterminatedLast", u"a\r\nb"_s, {u"a"_s, u"b"_s}},
                                           SplitCase{"LfOnly", u"a\nb\n"_s, {u"a"_s, u"b"_s}},
                                           SplitCase{"CrOnly", u"a\rb\r"_s, {u"a"_s, u"b"_s}},
                                           SplitCase{"Mixed", u"a\r\nb\nc\rd"_s, {u"a"_s, u"b"_s, u"c"_s, u"d"_s}},
                                           SplitCase{"EmptyMiddleCrLf", u"a\r\n\r\nb"_s, {u"a"_s, u""_s, u"b"_s}},
                                           SplitCase{"LfThenCrIsTwoEnds", u"a\n\rb"_s, {u"a"_s, u""_s, u"b"_s}},
                                           SplitCase{"CrThenCrLf", u"a\r\r\nb"_s, {u"a"_s, u""_s, u"b"_s}},
                                           SplitCase{"EmptyLastLineKept", u"a\r\n\r\n"_s, {u"a"_s, u""_s}},
                                           SplitCase{"OnlyCrLf", u"\r\n"_s, {u""_s}}),
                         kCaseName);

// ---- Decoding

struct DecodeCase {
  const char* name;
  QByteArray bytes;
  QString text;
};

class DecodeFixText : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeFixText, ReadsUtf8ElseWindows1252) { EXPECT_EQ(decodeFixText(GetParam().bytes), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    FixFile, DecodeFixText,
    ::testing::Values(DecodeCase{"Empty", "", u""_s},
                      DecodeCase{"Ascii", "ABLAN;LF;45.1833;5.2833\r\n", u"ABLAN;LF;45.1833;5.2833\r\n"_s},
                      DecodeCase{"Utf8", "Saint-\xC3\x89tienne", u"Saint-\u00C9tienne"_s},
                      DecodeCase{"Utf8LastBeforeSurrogates", "\xED\x9F\xBF", u"\uD7FF"_s},
                      DecodeCase{"Utf8FourBytes", "\xF0\x9F\x9B\xA9", u"\U0001F6E9"_s},
                      DecodeCase{"Utf8Highest", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"_s},
                      DecodeCase{"Utf8AcrossAsciiBlock", "abcdefg\xC3\xA9", u"abcdefg\u00E9"_s},
                      DecodeCase{"BomSkipped",
                                 "\xEF\xBB\xBF"
                                 "Caf\xC3\xA9",
                                 u"Caf\u00E9"_s},
                      DecodeCase{"BomOnly", "\xEF\xBB\xBF", u""_s},
                      DecodeCase{"SecondBomKept",
                                 "\xEF\xBB\xBF\xEF\xBB\xBF"
                                 "a",
                                 u"\uFEFFa"_s},
                      DecodeCase{"Cp1252Accent", "Caf\xE9", u"Caf\u00E9"_s},
                      DecodeCase{"Cp1252Euro", "\x80", u"\u20AC"_s},
                      DecodeCase{"InvalidAfterAsciiBlock", "abcdefghijklmno\xE9", u"abcdefghijklmno\u00E9"_s},
                      DecodeCase{"InvalidAfterValidUtf8", "\xC3\xA9 \xE9", u"\u00C3\u00A9 \u00E9"_s},
                      DecodeCase{"BomThenInvalid", "\xEF\xBB\xBF\xE9", u"\u00EF\u00BB\u00BF\u00E9"_s},
                      DecodeCase{"OverlongC0", "\xC0\xAF", u"\u00C0\u00AF"_s},
                      DecodeCase{"OverlongThreeBytes", "\xE0\x80\xAF", u"\u00E0\u20AC\u00AF"_s},
                      DecodeCase{"OverlongFourBytes", "\xF0\x80\x80\xAF", u"\u00F0\u20AC\u20AC\u00AF"_s},
                      DecodeCase{"Surrogate", "\xED\xA0\x80", u"\u00ED\u00A0\u20AC"_s},
                      DecodeCase{"AboveHighest", "\xF4\x90\x80\x80", u"\u00F4\x90\u20AC\u20AC"_s},
                      DecodeCase{"LeadF5", "\xF5\x80\x80\x80", u"\u00F5\u20AC\u20AC\u20AC"_s},
                      DecodeCase{"TruncatedThreeBytes", "\xE2\x82", u"\u00E2\u201A"_s},
                      DecodeCase{"BadLastContinuation",
                                 "\xE2\x82"
                                 "A",
                                 u"\u00E2\u201AA"_s}),
    kCaseName);

TEST(DecodeFixTextWindows1252, EveryByteIsOneCharacter) {
  QByteArray all;
  for (int byte = 0; byte < 256; ++byte) all.append(static_cast<char>(byte));
  const QString text = decodeFixText(all);
  ASSERT_EQ(text.size(), 256);
  // Outside 80 to 9F each byte is the Latin-1 character of its value.
  for (int byte = 0; byte < 256; ++byte) {
    if (byte >= 0x80 && byte <= 0x9F) continue;
    EXPECT_EQ(text[byte].unicode(), byte) << "byte " << byte;
  }
}

TEST(DecodeFixTextWindows1252, Bytes80To9FAreTheWindowsCharacters) {
  QByteArray bytes;
  for (int byte = 0x80; byte <= 0x9F; ++byte) bytes.append(static_cast<char>(byte));
  // As the Windows-1252 code chart draws them, the five unassigned bytes as control characters.
  EXPECT_EQ(decodeFixText(bytes), u"€\x81‚ƒ„…†‡ˆ‰Š‹Œ\x8DŽ\x8F\x90‘’“”•–—˜™š›œ\x9DžŸ"_s);
}

// ---- Country codes

struct CodesCase {
  const char* name;
  QStringList lines;
  QStringList codes;
};

class CollectCodes : public ::testing::TestWithParam<CodesCase> {};

TEST_P(CollectCodes, ListsEachDistinctFieldOneOnce) { EXPECT_EQ(collectCodes(GetParam().lines), GetParam().codes); }

INSTANTIATE_TEST_SUITE_P(
    FixFile, CollectCodes,
    ::testing::Values(
        CodesCase{"NoLines", {}, {}},
        CodesCase{"RepeatedOnce", {u"A;LF;1;2"_s, u"B;EG;1;2"_s, u"C;LF;1;2"_s}, {u"LF"_s, u"EG"_s}},
        CodesCase{"FirstAppearanceOrder", {u"A;LF"_s, u"B;EG"_s, u"C;AG"_s, u"D;EG"_s}, {u"LF"_s, u"EG"_s, u"AG"_s}},
        CodesCase{"CaseSensitive", {u"A;FL;1"_s, u"B;Fl;1"_s, u"C;FL;1"_s}, {u"FL"_s, u"Fl"_s}},
        CodesCase{"PrefixOfEarlierCode", {u"A;ED;1"_s, u"B;E;1"_s}, {u"ED"_s, u"E"_s}},
        CodesCase{"EmptyCodeOnce", {u"A;;1"_s, u"B;LF;1"_s, u";"_s, u"C;"_s}, {u""_s, u"LF"_s}},
        CodesCase{"FewerThanTwoFieldsSkipped", {u"LF"_s, u""_s, u"A;EG;1"_s, u"plain text"_s}, {u"EG"_s}},
        CodesCase{"SpacesKept", {u"A; LF;1"_s, u"B;LF ;1"_s, u"C;LF;1"_s}, {u" LF"_s, u"LF "_s, u"LF"_s}}),
    kCaseName);

// ---- File kind

struct KindCase {
  const char* name;
  QString fileName;
  QString previous;
  QString kind;
};

class FileKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(FileKind, ComesFromTheWordsOfTheName) {
  EXPECT_EQ(fileKind(GetParam().fileName, GetParam().previous), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    FixFile, FileKind,
    ::testing::Values(KindCase{"Navaids", u"Sample Navaids.csv"_s, u""_s, u"NAV"_s},
                      KindCase{"Waypoints", u"Sample Waypoints.csv"_s, u"NAV"_s, u"WPT"_s},
                      KindCase{"Airports", u"Sample Airports.csv"_s, u"WPT"_s, u"APT"_s},
                      KindCase{"LowerCaseKeepsPrevious", u"sample navaids.csv"_s, u"WPT"_s, u"WPT"_s},
                      KindCase{"AirportWinsOverWaypoint", u"Airport Waypoints.csv"_s, u"NAV"_s, u"APT"_s},
                      KindCase{"OrderOfTestsNotOfWords", u"Waypoint Airports.csv"_s, u""_s, u"APT"_s},
                      KindCase{"NoneKeepsEmpty", u"Fixes.csv"_s, u""_s, u""_s},
                      KindCase{"NoneKeepsPrevious", u"Fixes.csv"_s, u"NAV"_s, u"NAV"_s}),
    kCaseName);

// ---- Reading a file

TEST(ReadFixFile, MissingFileIsAnErrorInPlainWords) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const FixFile file = readFixFile(dir.filePath(u"Gone Waypoints.csv"_s));
  EXPECT_FALSE(file.ok);
  EXPECT_TRUE(file.lines.isEmpty());
  EXPECT_TRUE(file.error.startsWith(u"Cannot read Gone Waypoints.csv: "_s)) << file.error;
  EXPECT_GT(file.error.size(), u"Cannot read Gone Waypoints.csv: "_s.size()) << "the reason is missing";
}

TEST(ReadFixFile, ReadsDecodesAndSplitsTheWholeFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Sample Airports.csv"_s);
  ASSERT_TRUE(writeFile(path, kTwoAirports));

  const FixFile file = readFixFile(path);
  EXPECT_TRUE(file.ok);
  EXPECT_TRUE(file.error.isEmpty()) << file.error;
  EXPECT_EQ(file.lines, QStringList({u"LFMH;LF;A;EBU;45.5406;4.2964;1325;2300;Saint-\u00C9tienne"_s, u""_s,
                                     u"LFQA;LF;A;;49.2071;4.1566;312;1500;Reims"_s}));
}

TEST(ReadFixFile, EmptyFileHasNoLines) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Empty.csv"_s);
  ASSERT_TRUE(writeFile(path, ""));

  const FixFile file = readFixFile(path);
  EXPECT_TRUE(file.ok);
  EXPECT_TRUE(file.lines.isEmpty());
}

// ---- Lines kept as the file's bytes

TEST(FixLines, HoldTheLinesAndCodesOfTheDecodedText) {
  for (const QByteArray& bytes : generatedFixFiles()) {
    const QStringList expected = splitLines(decodeFixText(bytes));
    const FixLines lines(bytes);
    ASSERT_EQ(toStringList(lines), expected) << bytes.toPercentEncoding().toStdString();
    ASSERT_EQ(collectCodes(lines), collectCodes(expected)) << bytes.toPercentEncoding().toStdString();
  }
}

// A Windows-1252 byte in a line of another country still decides how a country's lines decode.
TEST(FixLines, GroupTheLinesOfEachCodeDecodedAsTheWholeFile) {
  for (const QByteArray& bytes : generatedFixFiles()) {
    const QStringList all = splitLines(decodeFixText(bytes));
    const FixLines lines(bytes);
    QStringList codes = collectCodes(all);
    if (!codes.contains(u"absent"_s)) codes.append(u"absent"_s);
    const std::vector<FixLines> groups = lines.linesByCode(codes);
    ASSERT_EQ(groups.size(), static_cast<std::size_t>(codes.size()));
    for (qsizetype i = 0; i < codes.size(); ++i) {
      QStringList expected;
      for (const QString& line : all)
        if (detail::countryField(line) == codes.at(i)) expected.append(line);
      ASSERT_EQ(toStringList(groups[static_cast<std::size_t>(i)]), expected)
          << bytes.toPercentEncoding().toStdString() << " " << codes.at(i).toStdString();
    }
  }
}

TEST(ReadFixFileLines, ReadsAsReadFixFileDoes) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Sample Airports.csv"_s);
  ASSERT_TRUE(writeFile(path, kTwoAirports));
  const FixFileLines file = readFixFileLines(path);
  EXPECT_TRUE(file.ok);
  EXPECT_EQ(toStringList(file.lines), readFixFile(path).lines);

  const FixFileLines missing = readFixFileLines(dir.filePath(u"Gone Waypoints.csv"_s));
  EXPECT_FALSE(missing.ok);
  EXPECT_TRUE(missing.lines.isEmpty());
  EXPECT_EQ(missing.error, readFixFile(dir.filePath(u"Gone Waypoints.csv"_s)).error);
}

// ---- A fix file read in two passes, a block at a time

constexpr qsizetype kReadBlock = qsizetype{1} << 18;

// Files around the edges of the reading blocks: filler lines up to `at`, then `piece` (a CR LF cut in two, a CR or a
// multi-byte character last in a block, a byte-order mark), then lines of two countries; and a line three blocks
// long.
QList<QByteArray> filesAcrossBlocks() {
  QList<QByteArray> files;
  for (const char* piece : {"\r\n", "\r", "\n", "\xC3\xA9", "\xE9", "\xEF\xBB\xBF", "\r\r\n\n"}) {
    for (const qsizetype at : {kReadBlock - 2, kReadBlock - 1, kReadBlock, kReadBlock + 1}) {
      QByteArray bytes = QByteArray("AB;LF;1;2\n").repeated(at / 10);
      bytes += "P;EG;";
      bytes += QByteArray(at - bytes.size(), 'x');
      bytes += piece;
      bytes += QByteArray("Q;LF;3;4\r\nR;EG;5;6\n").repeated(3);
      files.append(bytes);
    }
  }
  files.append("L;EG;" + QByteArray(3 * kReadBlock, 'y') + "\r\nM;LF;7;8");
  return files;
}

// The lines of `lines` whose code is one of `codes`.
QStringList linesWithCodes(const FixLines& lines, const QStringList& codes) {
  QStringList kept;
  for (const QString& line : toStringList(lines))
    if (const auto code = detail::countryField(line); code && codes.contains(*code)) kept.append(line);
  return kept;
}

TEST(ReadFixFileInTwoPasses, GivesTheCodesAndLinesOfTheWholeFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Sample Waypoints.csv"_s);
  QList<QByteArray> files = filesAcrossBlocks();
  const QList<QByteArray> generated = generatedFixFiles();
  for (qsizetype i = 0; i < generated.size(); i += 5) files.append(generated.at(i));
  for (const QByteArray& bytes : files) {
    ASSERT_TRUE(writeFile(path, bytes));
    const std::string shown = bytes.size() > 200 ? "a file of " + std::to_string(bytes.size()) + " bytes ending " +
                                                       bytes.right(60).toPercentEncoding().toStdString()
                                                 : bytes.toPercentEncoding().toStdString();
    const FixLines whole(bytes);
    const FixFileCodes first = readFixFileCodes(path);
    ASSERT_TRUE(first.ok) << first.error.toStdString();
    ASSERT_EQ(first.codes, collectCodes(whole)) << shown;
    ASSERT_EQ(first.room.size(), static_cast<std::size_t>(first.codes.size())) << shown;
    QList<QStringList> choices = {{}, {u"absent"_s}, first.codes};
    for (const QString& code : first.codes) choices.append({code});
    for (const QStringList& codes : choices) {
      const FixFileLines second = readFixFileLinesOf(path, first, codes);
      ASSERT_TRUE(second.ok) << second.error.toStdString();
      const QStringList expected = linesWithCodes(whole, codes);
      ASSERT_EQ(linesWithCodes(second.lines, codes), expected) << shown << " " << codes.join(u',').toStdString();
      // Lines of a small share of the file are all that is kept; a large share may come with the rest of the file.
      qsizetype room = 0;
      for (const QString& code : codes)
        if (const qsizetype at = first.codes.indexOf(code); at >= 0)
          room += first.room[static_cast<std::size_t>(at)].bytes;
      if (2 * room < bytes.size()) {
        ASSERT_EQ(toStringList(second.lines), expected) << shown;
      }
    }
  }
}

TEST(ReadFixFileInTwoPasses, RefusesAFileThatChangedBetweenThem) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Sample Waypoints.csv"_s);
  // LF alone is a third of the file, read a block at a time; with EG, the file is read whole.
  for (const QStringList& codes : {QStringList{u"LF"_s}, QStringList{u"LF"_s, u"EG"_s}}) {
    ASSERT_TRUE(writeFile(path, QByteArray("A;LF;1;2\nB;EG;3;4\nC;EG;5;6\n").repeated(100)));
    const FixFileCodes first = readFixFileCodes(path);
    ASSERT_TRUE(first.ok);
    ASSERT_TRUE(writeFile(path, QByteArray("A;LF;1;2\n")));
    const FixFileLines second = readFixFileLinesOf(path, first, codes);
    EXPECT_FALSE(second.ok) << codes.join(u',').toStdString();
    EXPECT_TRUE(second.lines.isEmpty());
    EXPECT_EQ(second.error, u"Sample Waypoints.csv changed while it was read; try again once it is written"_s);
  }

  const QString gone = dir.filePath(u"Gone Waypoints.csv"_s);
  const FixFileCodes missing = readFixFileCodes(gone);
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.error, readFixFile(gone).error);
}

}  // namespace
}  // namespace skelvor
