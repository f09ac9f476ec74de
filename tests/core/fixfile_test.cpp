#include "fixfile.h"
#include "countrysource.h"

#include "qt_printing.h"
#include "testrows.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace skelvor {
using namespace Qt::StringLiterals;
namespace {

bool writeFile(const QString& path, QByteArrayView bytes) {
  QFile out(path);
  return out.open(QIODevice::WriteOnly) && out.write(bytes.data(), bytes.size()) == bytes.size();
}

// Names each parameterised case after its `name` member.
constexpr auto kCaseName = [](const auto& info) { return std::string(info.param.name); };

// Every line of `lines`, decoded.
QStringList textsOf(const FixLines& lines) {
  QStringList texts;
  QString text;
  lines.forEachLine([&](QByteArrayView bytes) {
    lines.decode(bytes, text);
    texts.append(text);
  });
  return texts;
}

// The bytes of every line of `lines`.
QList<QByteArray> bytesOf(const FixLines& lines) {
  QList<QByteArray> all;
  lines.forEachLine([&all](QByteArrayView bytes) { all.append(bytes.toByteArray()); });
  return all;
}

std::string shown(const QByteArray& bytes) {
  return bytes.size() > 200 ? "a file of " + std::to_string(bytes.size()) + " bytes ending " +
                                  bytes.right(60).toPercentEncoding().toStdString()
                            : bytes.toPercentEncoding().toStdString();
}

const LineTest kAnyLine = [](QByteArrayView) { return true; };

// ---- Lines

struct SplitCase {
  const char* name;
  QByteArray bytes;
  QStringList lines;
};

class SplitLines : public ::testing::TestWithParam<SplitCase> {};

// The whole bytes, the whole file and the file read a block at a time give the same lines.
TEST_P(SplitLines, EndsLinesAtCrLfLfAndCrOnEveryRoad) {
  const SplitCase& c = GetParam();
  EXPECT_EQ(textsOf(FixLines(c.bytes)), c.lines);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Lines Waypoints.csv"_s);
  ASSERT_TRUE(writeFile(path, c.bytes));
  const FixFileLines whole = readFixFileLines(path);
  ASSERT_TRUE(whole.ok) << whole.error;
  EXPECT_EQ(textsOf(whole.lines), c.lines);
  const FixFileLines tested = readFixFileLines(path, kAnyLine);
  ASSERT_TRUE(tested.ok) << tested.error;
  EXPECT_EQ(textsOf(tested.lines), c.lines);
}

INSTANTIATE_TEST_SUITE_P(FixFile, SplitLines,
                         ::testing::Values(SplitCase{"EmptyText", "", {}},
                                           SplitCase{"OneLineWithoutEnd", "a;LF", {u"a;LF"_s}},
                                           SplitCase{"CrLfTerminated", "a\r\nb\r\n", {u"a"_s, u"b"_s}},
                                           SplitCase{"CrLfUnterminatedLast", "a\r\nb", {u"a"_s, u"b"_s}},
                                           SplitCase{"LfOnly", "a\nb\n", {u"a"_s, u"b"_s}},
                                           SplitCase{"CrOnly", "a\rb\r", {u"a"_s, u"b"_s}},
                                           SplitCase{"Mixed", "a\r\nb\nc\rd", {u"a"_s, u"b"_s, u"c"_s, u"d"_s}},
                                           SplitCase{"EmptyMiddleCrLf", "a\r\n\r\nb", {u"a"_s, u""_s, u"b"_s}},
                                           SplitCase{"LfThenCrIsTwoEnds", "a\n\rb", {u"a"_s, u""_s, u"b"_s}},
                                           SplitCase{"CrThenCrLf", "a\r\r\nb", {u"a"_s, u""_s, u"b"_s}},
                                           SplitCase{"EmptyLastLineKept", "a\r\n\r\n", {u"a"_s, u""_s}},
                                           SplitCase{"OnlyCrLf", "\r\n", {u""_s}},
                                           SplitCase{"Utf8", "\xC3\x89TANG;LF\r\n", {u"\u00C9TANG;LF"_s}},
                                           SplitCase{"BomSkipped",
                                                     "\xEF\xBB\xBF"
                                                     "a;LF\nb",
                                                     {u"a;LF"_s, u"b"_s}},
                                           SplitCase{"BomOnly", "\xEF\xBB\xBF", {}},
                                           SplitCase{"BomThenLineEnd", "\xEF\xBB\xBF\r\n", {u""_s}},
                                           SplitCase{"SecondBomKept",
                                                     "\xEF\xBB\xBF\xEF\xBB\xBF"
                                                     "a",
                                                     {u"\uFEFFa"_s}},
                                           SplitCase{"BomLaterInTheFileKept",
                                                     "a\n\xEF\xBB\xBF"
                                                     "b",
                                                     {u"a"_s, u"\uFEFFb"_s}},
                                           SplitCase{"BomOfAWindows1252File",
                                                     "\xEF\xBB\xBF"
                                                     "a\r\n\xE9",
                                                     {u"\u00EF\u00BB\u00BFa"_s, u"\u00E9"_s}}),
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
  QByteArray bytes;
  QStringList codes;
};

class CollectCodes : public ::testing::TestWithParam<CodesCase> {};

// The codes of the whole bytes, of the whole file and of the file read a block at a time keeping no line.
TEST_P(CollectCodes, ListsEachDistinctFieldOneOnce) {
  const CodesCase& c = GetParam();
  EXPECT_EQ(collectCodes(FixLines(c.bytes)), c.codes);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Codes Waypoints.csv"_s);
  ASSERT_TRUE(writeFile(path, c.bytes));
  EXPECT_EQ(readFixFileLines(path).codes, c.codes);
  const FixFileLines scan = readFixFileLines(path, CodesFilter{});
  EXPECT_EQ(scan.codes, c.codes);
  EXPECT_TRUE(scan.lines.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    FixFile, CollectCodes,
    ::testing::Values(CodesCase{"NoLines", "", {}},
                      CodesCase{"RepeatedOnce", "A;LF;1;2\nB;EG;1;2\nC;LF;1;2", {u"LF"_s, u"EG"_s}},
                      CodesCase{"FirstAppearanceOrder", "A;LF\r\nB;EG\r\nC;AG\r\nD;EG", {u"LF"_s, u"EG"_s, u"AG"_s}},
                      CodesCase{"CaseSensitive", "A;FL;1\nB;Fl;1\nC;FL;1", {u"FL"_s, u"Fl"_s}},
                      CodesCase{"PrefixOfEarlierCode", "A;ED;1\nB;E;1", {u"ED"_s, u"E"_s}},
                      CodesCase{"LongerCodes", "A;LFX;1\nB;LF;1\nC;LFX\nD;L", {u"LFX"_s, u"LF"_s, u"L"_s}},
                      CodesCase{"EmptyCodeOnce", "A;;1\nB;LF;1\n;\nC;", {u""_s, u"LF"_s}},
                      CodesCase{"FewerThanTwoFieldsSkipped", "LF\n\nA;EG;1\nplain text", {u"EG"_s}},
                      CodesCase{"SpacesKept", "A; LF;1\nB;LF ;1\nC;LF;1", {u" LF"_s, u"LF "_s, u"LF"_s}},
                      CodesCase{"Utf8Code", "A;\xC3\x89G;1\nB;EG;2", {u"\u00C9G"_s, u"EG"_s}},
                      CodesCase{"Windows1252Code", "A;\xC9G;1\nB;\x80;2", {u"\u00C9G"_s, u"\u20AC"_s}}),
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

// Two airports and a heliport in Windows-1252, the one byte outside ASCII in a line of France, with an empty line and
// no line end after the last.
constexpr char kAirports[] =
    "LFMH;LF;A;EBU;45.5406;4.2964;1325;2300;Saint-\xC9tienne\r\n\r\nEGLL;EG;A;LHR;51.47;-0.46;83;3900;London\r\n"
    "LFQA;LF;A;;49.2071;4.1566;312;1500;Reims\nEGLW;EG;H;;51.47;-0.18;18;0;Battersea";

struct FilterCase {
  const char* name;
  LineFilter filter;
  QStringList lines;
};

class ReadFixFileLines : public ::testing::TestWithParam<FilterCase> {};

TEST_P(ReadFixFileLines, KeepsTheLinesTheFilterTakesWithEveryCodeOfTheFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Sample Airports.csv"_s);
  ASSERT_TRUE(writeFile(path, kAirports));
  const FixFileLines read = readFixFileLines(path, GetParam().filter);
  ASSERT_TRUE(read.ok) << read.error;
  EXPECT_TRUE(read.error.isEmpty());
  EXPECT_EQ(textsOf(read.lines), GetParam().lines);
  EXPECT_FALSE(read.lines.isUtf8());
  EXPECT_EQ(read.codes, QStringList({u"LF"_s, u"EG"_s}));
  ASSERT_EQ(read.room.size(), 2u);
  EXPECT_EQ(read.room[0].bytes, 52 + 40 + 2);
  EXPECT_EQ(read.room[0].lines, 2);
  EXPECT_EQ(read.room[1].bytes, 40 + 37 + 2);
  EXPECT_EQ(read.room[1].lines, 2);
}

const QString kStEtienne = u"LFMH;LF;A;EBU;45.5406;4.2964;1325;2300;Saint-\u00C9tienne"_s;
const QString kHeathrow = u"EGLL;EG;A;LHR;51.47;-0.46;83;3900;London"_s;
const QString kReims = u"LFQA;LF;A;;49.2071;4.1566;312;1500;Reims"_s;
const QString kBattersea = u"EGLW;EG;H;;51.47;-0.18;18;0;Battersea"_s;

INSTANTIATE_TEST_SUITE_P(
    FixFile, ReadFixFileLines,
    ::testing::Values(
        FilterCase{"EveryLine", EveryLine{}, {kStEtienne, u""_s, kHeathrow, kReims, kBattersea}},
        FilterCase{"OneCode", CodesFilter{{u"EG"_s}, false}, {kHeathrow, kBattersea}},
        FilterCase{"TwoCodes", CodesFilter{{u"EG"_s, u"LF"_s}, false}, {kStEtienne, kHeathrow, kReims, kBattersea}},
        FilterCase{"AbsentCode", CodesFilter{{u"ED"_s}, false}, {}}, FilterCase{"NoCode", CodesFilter{}, {}},
        FilterCase{"CodeOfAnotherEncoding", CodesFilter{{u"\uFFFD"_s}, false}, {}},
        FilterCase{"Test",
                   LineTest([](QByteArrayView line) { return line.endsWith("Reims") || line.isEmpty(); }),
                   {u""_s, kReims}}),
    kCaseName);

TEST(ReadFixFile, DecodesTheLinesKeptAsTheWholeFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Mixed Waypoints.csv"_s);
  const LineTest england = [](QByteArrayView line) { return line.contains(";EG;"); };
  const struct {
    QByteArray bytes;
    bool utf8;
    QStringList france;   // the lines of LF
    QStringList england;  // the line that `england` takes, which is given the mark of the file, if any
  } cases[] = {
      {"A;LF;\xC3\x89vreux\nB;EG;Caf\xC3\xA9", true, {u"A;LF;\u00C9vreux"_s}, {u"B;EG;Caf\u00E9"_s}},
      {"\xEF\xBB\xBF"
       "A;LF;\xC3\x89vreux\nB;EG;Caf\xC3\xA9",
       true,
       {u"A;LF;\u00C9vreux"_s},
       {u"B;EG;Caf\u00E9"_s}},
      {"A;LF;\xC3\x89vreux\nB;EG;Caf\xE9", false, {u"A;LF;\u00C3\u2030vreux"_s}, {u"B;EG;Caf\u00E9"_s}},
      {"\xEF\xBB\xBF"
       "B;EG;1\nA;LF;\xE9",
       false,
       {u"A;LF;\u00E9"_s},
       {u"\u00EF\u00BB\u00BF"
        "B;EG;1"_s}},
      {"\xEF\xBB\xBF"
       "B;EG;1\nA;LF;2",
       true,
       {u"A;LF;2"_s},
       {u"B;EG;1"_s}},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(writeFile(path, c.bytes));
    const FixFileLines france = readFixFileLines(path, CodesFilter{{u"LF"_s}, c.utf8});
    ASSERT_TRUE(france.ok) << france.error;
    EXPECT_EQ(france.lines.isUtf8(), c.utf8) << shown(c.bytes);
    EXPECT_EQ(textsOf(france.lines), c.france) << shown(c.bytes);
    const FixFileLines tested = readFixFileLines(path, england);
    EXPECT_EQ(tested.lines.isUtf8(), c.utf8) << shown(c.bytes);
    EXPECT_EQ(textsOf(tested.lines), c.england) << shown(c.bytes);
    EXPECT_EQ(readFixFileLines(path).lines.isUtf8(), c.utf8) << shown(c.bytes);
  }
}

// A missing file gives the system's reason after the name; a folder, a pipe or a device is not read.
TEST(ReadFixFile, RefusesAMissingFileOrOneThatIsNotRegularInPlainWords) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QDir(dir.path()).mkdir(u"Folder Waypoints.csv"_s));
  for (const LineFilter& filter : {LineFilter(EveryLine{}), LineFilter(CodesFilter{{u"LF"_s}}), LineFilter(kAnyLine)}) {
    const FixFileLines missing = readFixFileLines(dir.filePath(u"Gone Waypoints.csv"_s), filter);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.lines.isEmpty());
    EXPECT_TRUE(missing.codes.isEmpty());
    EXPECT_TRUE(missing.error.startsWith(u"Cannot read Gone Waypoints.csv: "_s)) << missing.error;
    EXPECT_GT(missing.error.size(), u"Cannot read Gone Waypoints.csv: "_s.size()) << "the reason is missing";
    const FixFileLines folder = readFixFileLines(dir.filePath(u"Folder Waypoints.csv"_s), filter);
    EXPECT_FALSE(folder.ok);
    EXPECT_EQ(folder.error, u"Cannot read Folder Waypoints.csv: it is not a regular file"_s);
  }
}

TEST(FixLines, GroupTheLinesOfEachCodeDecodedAsTheWholeFile) {
  const FixLines lines{QByteArray(kAirports)};
  const std::vector<FixLines> groups = lines.linesByCode({u"EG"_s, u"absent"_s, u"LF"_s, u"EG"_s});
  ASSERT_EQ(groups.size(), 4u);
  EXPECT_EQ(textsOf(groups[0]), QStringList({kHeathrow, kBattersea}));
  EXPECT_TRUE(groups[1].isEmpty());
  EXPECT_EQ(textsOf(groups[2]), QStringList({kStEtienne, kReims}));
  EXPECT_TRUE(groups[3].isEmpty());
  EXPECT_FALSE(groups[2].isUtf8());
}

// ---- Files across the edges of the reading blocks

constexpr qsizetype kReadBlock = qsizetype{1} << 18;

// Files around the edges of the reading blocks: filler lines and a long line up to `at`, then `piece` (a CR LF cut in
// two, a CR or a multi-byte character last in a block, a byte-order mark), then lines of two countries; and a line
// three blocks long.
QList<QByteArray> filesAcrossBlocks() {
  QList<QByteArray> files;
  for (const char* piece : {"\r\n", "\r", "\n", "\xC3\xA9", "\xE9", "\xEF\xBB\xBF", "\r\r\n\n"}) {
    for (const qsizetype at : {kReadBlock - 2, kReadBlock - 1, kReadBlock, kReadBlock + 1}) {
      QByteArray bytes = QByteArray("AB;LF;1;2\n").repeated((at - 16) / 10);
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

// What a reading of `bytes` should give, worked out plainly: UTF-8 when Qt's strict decoder finds no fault, the mark
// of a UTF-8 file skipped, each CR LF, LF and CR a line end, no line after the last line end.
struct Expected {
  bool utf8 = true;
  QList<QByteArray> lines;
  QList<QByteArray> codes;  // field 1 of each line that has one, each once
};

Expected expectedOf(const QByteArray& bytes) {
  Expected expected;
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded = decoder.decode(bytes);  // the decoder finds its faults as it makes the text
  expected.utf8 = !decoder.hasError();
  QByteArray rest = bytes;
  if (expected.utf8 && rest.startsWith("\xEF\xBB\xBF")) rest.remove(0, 3);
  QByteArray line;
  for (qsizetype i = 0; i < rest.size(); ++i) {
    if (rest[i] != '\r' && rest[i] != '\n') {
      line += rest[i];
      continue;
    }
    expected.lines.append(line);
    line.clear();
    if (rest[i] == '\r' && i + 1 < rest.size() && rest[i + 1] == '\n') ++i;
  }
  if (!line.isEmpty()) expected.lines.append(line);
  for (const QByteArray& l : expected.lines) {
    const QList<QByteArray> fields = l.split(';');
    if (fields.size() >= 2 && !expected.codes.contains(fields[1])) expected.codes.append(fields[1]);
  }
  return expected;
}

// The lines of `expected` whose code is `code`.
QList<QByteArray> linesWithCode(const Expected& expected, const QByteArray& code) {
  QList<QByteArray> kept;
  for (const QByteArray& line : expected.lines) {
    const QList<QByteArray> fields = line.split(';');
    if (fields.size() >= 2 && fields[1] == code) kept.append(line);
  }
  return kept;
}

TEST(ReadFixFile, GivesTheLinesAndCodesOfFilesAcrossBlocksAndOfGeneratedFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Sample Waypoints.csv"_s);
  QList<QByteArray> files = filesAcrossBlocks();
  files += generatedFixFiles();
  for (const QByteArray& bytes : files) {
    ASSERT_TRUE(writeFile(path, bytes));
    const Expected expected = expectedOf(bytes);
    QStringList codes;
    QString text;
    for (const QByteArray& code : expected.codes) {
      FixLines::decode(code, expected.utf8, text);
      codes.append(text);
    }
    const FixFileLines whole = readFixFileLines(path);
    ASSERT_TRUE(whole.ok) << whole.error;
    ASSERT_EQ(bytesOf(whole.lines), expected.lines) << shown(bytes);
    ASSERT_EQ(whole.lines.isUtf8(), expected.utf8) << shown(bytes);
    ASSERT_EQ(whole.codes, codes) << shown(bytes);
    ASSERT_EQ(bytesOf(FixLines(bytes)), expected.lines) << shown(bytes);
    ASSERT_EQ(collectCodes(FixLines(bytes)), codes) << shown(bytes);
    const FixFileLines tested = readFixFileLines(path, kAnyLine);
    ASSERT_EQ(bytesOf(tested.lines), expected.lines) << shown(bytes);
    ASSERT_EQ(tested.lines.isUtf8(), expected.utf8) << shown(bytes);
    ASSERT_EQ(tested.codes, codes) << shown(bytes);
    for (const char* code : {"LF", "EG"}) {
      const FixFileLines kept = readFixFileLines(path, CodesFilter{{QString::fromLatin1(code)}, expected.utf8});
      ASSERT_EQ(bytesOf(kept.lines), linesWithCode(expected, code)) << shown(bytes) << " " << code;
      ASSERT_EQ(kept.codes, codes) << shown(bytes);
      ASSERT_EQ(bytesOf(FixLines(bytes).linesByCode({QString::fromLatin1(code)})[0]), linesWithCode(expected, code));
    }
  }
}

// ---- A fix file read for some of its countries

// A file over the size that is read in two passes: `repeats` times a line of France and two of England.
QByteArray largeFile(qsizetype repeats) { return QByteArray("A;LF;1;2\nB;EG;3;4\r\nC;EG;5;6\n").repeated(repeats); }
constexpr qsizetype kLargeRepeats = (qsizetype{5} << 20) / 28;

TEST(CountrySource, ReadsALargeFileInTwoPassesForTheLinesChosen) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Large Waypoints.csv"_s);
  const QByteArray bytes = largeFile(kLargeRepeats) + "D;ED;\xE9";
  ASSERT_TRUE(writeFile(path, bytes));
  ASSERT_TRUE(CountrySource::readsInTwoPasses(bytes.size()));
  ASSERT_FALSE(CountrySource::readsInTwoPasses(4 << 20));
  CountrySource source(path);
  ASSERT_TRUE(source.error().isEmpty()) << source.error();
  EXPECT_EQ(source.codes(), QStringList({u"LF"_s, u"EG"_s, u"ED"_s}));
  // France is a third of the file: its lines alone are read.
  const FixFileLines france = source.linesOf({u"LF"_s, u"ED"_s});
  ASSERT_TRUE(france.ok) << france.error;
  EXPECT_EQ(france.lines.size(), kLargeRepeats + 1);
  EXPECT_FALSE(france.lines.isUtf8());
  QStringList firstAndLast;
  france.lines.forEachLine([&](QByteArrayView line) {
    if (firstAndLast.size() < 1 || line.startsWith("D;")) firstAndLast.append(QString::fromLatin1(line));
  });
  EXPECT_EQ(firstAndLast, QStringList({u"A;LF;1;2"_s, u"D;ED;\u00E9"_s}));
  // England is most of the file, which is then read whole.
  const FixFileLines england = CountrySource(path).linesOf({u"EG"_s});
  ASSERT_TRUE(england.ok) << england.error;
  EXPECT_EQ(england.lines.size(), 3 * kLargeRepeats + 1);
}

TEST(CountrySource, ReadsASmallFileWhole) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Small Waypoints.csv"_s);
  ASSERT_TRUE(writeFile(path, largeFile(3)));
  CountrySource source(path);
  EXPECT_EQ(source.codes(), QStringList({u"LF"_s, u"EG"_s}));
  const FixFileLines lines = source.linesOf({u"LF"_s});
  ASSERT_TRUE(lines.ok) << lines.error;
  EXPECT_EQ(lines.lines.size(), 9);
  EXPECT_EQ(lines.codes, QStringList({u"LF"_s, u"EG"_s}));
  // The source lets go of its lines, not of the codes.
  EXPECT_EQ(source.codes(), QStringList({u"LF"_s, u"EG"_s}));
  EXPECT_TRUE(source.linesOf({u"LF"_s}).lines.isEmpty());
}

TEST(CountrySource, RefusesAFileThatChangedBetweenThePasses) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(u"Sample Waypoints.csv"_s);
  // LF alone is a third of the file, read a block at a time; with EG, the file is read whole.
  for (const QStringList& codes : {QStringList{u"LF"_s}, QStringList{u"LF"_s, u"EG"_s}}) {
    ASSERT_TRUE(writeFile(path, largeFile(kLargeRepeats)));
    CountrySource source(path);
    ASSERT_TRUE(source.error().isEmpty());
    ASSERT_TRUE(writeFile(path, QByteArray("A;LF;1;2\n")));
    const FixFileLines second = source.linesOf(codes);
    EXPECT_FALSE(second.ok) << codes.join(u',');
    EXPECT_TRUE(second.lines.isEmpty());
    EXPECT_EQ(second.error, u"Sample Waypoints.csv changed while it was read; try again once it is written"_s);
  }
  EXPECT_TRUE(CountrySource(dir.filePath(u"Gone Waypoints.csv"_s)).error().startsWith(u"Cannot read Gone"_s));
}

}  // namespace
}  // namespace skelvor
