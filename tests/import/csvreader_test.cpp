#include "csvreader.h"

#include "qt_printing.h"

#include <gtest/gtest.h>

namespace skelvor {
namespace {

// A record as the reader gives it: its line, its fields and its problem, written out for comparison.
struct Record {
  qsizetype line;
  QStringList fields;
  QString problem;
  bool operator==(const Record&) const = default;
};

void PrintTo(const Record& record, std::ostream* os) {
  *os << "line " << record.line << " [" << record.fields.join(u'|').toStdString() << "] "
      << record.problem.toStdString();
}

std::vector<Record> readAll(QStringView text) {
  std::vector<Record> records;
  CsvReader reader(text);
  while (reader.next()) {
    Record record{reader.line(), {}, reader.problem()};
    for (qsizetype i = 0; i < reader.fieldCount(); ++i) record.fields << reader.field(i).toString();
    records.push_back(record);
  }
  EXPECT_FALSE(reader.next());
  return records;
}

struct CsvCase {
  const char* name;
  const char16_t* text;
  std::vector<Record> records;
};

class CsvReading : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvReading, GivesEveryRecordWithItsLine) { EXPECT_EQ(readAll(GetParam().text), GetParam().records); }

const QString kUnclosed = QStringLiteral("a quoted field is not closed");
const QString kAfterQuote = QStringLiteral("text follows a closing quote");

INSTANTIATE_TEST_SUITE_P(
    Csv, CsvReading,
    ::testing::Values(
        CsvCase{"plain", u"a,b,c\n1,2,3\n", {{1, {"a", "b", "c"}, {}}, {2, {"1", "2", "3"}, {}}}},
        CsvCase{"crlf_and_no_final_line_end", u"a,b\r\n1,2", {{1, {"a", "b"}, {}}, {2, {"1", "2"}, {}}}},
        CsvCase{"lone_cr", u"a\rb\r", {{1, {"a"}, {}}, {2, {"b"}, {}}}},
        CsvCase{"empty_fields", u",,\nx,", {{1, {"", "", ""}, {}}, {2, {"x", ""}, {}}}},
        CsvCase{"quoted_comma", u"\"Paris, Orly\",LFPO", {{1, {"Paris, Orly", "LFPO"}, {}}}},
        CsvCase{"doubled_quotes", u"\"say \"\"hi\"\"\",\"\"\"\",\"\"", {{1, {"say \"hi\"", "\"", ""}, {}}}},
        CsvCase{"line_break_in_quotes",
                u"\"two\r\nlines\",x\n\"three\nlines\nhere\"\nlast",
                {{1, {"two\r\nlines", "x"}, {}}, {3, {"three\nlines\nhere"}, {}}, {6, {"last"}, {}}}},
        CsvCase{"byte_order_mark", u"\uFEFFid,name\n", {{1, {"id", "name"}, {}}}},
        CsvCase{"blank_lines_passed_over", u"\n\r\na\n\n\nb\n", {{3, {"a"}, {}}, {6, {"b"}, {}}}},
        CsvCase{"quote_inside_plain_field", u"ab\"c,d", {{1, {"ab\"c", "d"}, {}}}},
        CsvCase{"unclosed_quote", u"a,\"bc\nd,e", {{1, {"a", "bc\nd,e"}, kUnclosed}}},
        CsvCase{"text_after_closing_quote", u"\"ab\"c,d\nx", {{1, {"ab", "d"}, kAfterQuote}, {2, {"x"}, {}}}},
        CsvCase{"empty", u"", {}}, CsvCase{"only_a_mark", u"\uFEFF", {}},
        CsvCase{"lone_quote", u"\"", {{1, {""}, kUnclosed}}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CsvReader, FieldPastTheLastIsEmpty) {
  CsvReader reader(u"a,b");
  ASSERT_TRUE(reader.next());
  EXPECT_TRUE(reader.field(2).isEmpty());
  EXPECT_TRUE(reader.field(-1).isEmpty());
}

}  // namespace
}  // namespace skelvor
