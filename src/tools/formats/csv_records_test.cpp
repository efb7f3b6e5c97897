#include "formats/csv_records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace formats {
namespace {

// Every record as "line:field|field", records joined by blanks; the refusal's message instead
// when the reader refuses the text.
std::string Records(std::string_view csv, CsvSeparator separator = CsvSeparator::kComma) {
  CsvRecords records(csv, separator);
  std::vector<std::string> fields;
  std::string error;
  std::string out;
  for (;;) {
    const CsvStep step = records.Next(&fields, &error);
    if (step == CsvStep::kRefused) return error;
    if (step == CsvStep::kEnd) return out;
    out += (out.empty() ? "" : " ") + std::to_string(records.Line()) + ":";
    for (size_t i = 0; i < fields.size(); ++i) out += (i ? "|" : "") + fields[i];
  }
}

TEST(CsvRecords, OneSetOfRulesForEveryCsvFile) {
  const struct {
    const char* name;
    std::string csv;
    std::string records;
  } cases[] = {
      {"LF", "a,b\n1,2\n", "1:a|b 2:1|2"},
      {"CRLF", "a,b\r\n1,2\r\n", "1:a|b 2:1|2"},
      {"CR only", "a,b\r1,2\r", "1:a|b 2:1|2"},
      {"no final line end", "a,b\n1,2", "1:a|b 2:1|2"},
      {"byte-order mark",
       "\xEF\xBB\xBF"
       "a,b\n1,2\n",
       "1:a|b 2:1|2"},
      {"blanks around fields", " a ,\tb\t\n 1 , 2 \n", "1:a|b 2:1|2"},
      {"blank lines and rows of separators", "a,b\n\n \n,\n\"\",\r\n1,2\n", "1:a|b 6:1|2"},
      {"fewer fields than the header", "a,b,c\n1\n", "1:a|b|c 2:1"},
      {"empty text", "", ""},
      {"quoted separator and doubled quote", "a,b\n\"x, \"\"y\"\"\" , 2\n", "1:a|b 2:x, \"y\"|2"},
      {"quoted line breaks count as lines", "a,b\n\"x\ny\r\nz\",2\n3,4\n", "1:a|b 2:x\ny\r\nz|2 5:3|4"},
      {"quoted blanks stay", "a,b\n\" 1 \",2\n", "1:a|b 2: 1 |2"},
      {"a quote inside an unquoted field is text", "a,b\n1\"2,3\n", "1:a|b 2:1\"2|3"},
      {"quote left open", "a,b\n1,2\n3,\"4\n5,6\n", "line 3: a quoted field is never closed"},
      {"text after a closing quote", "a,b\n\"1\"x,2\n", "line 2: text after a closing quote"},
      {"more fields than the header", "a,b\n1,2\n\"x\ny\",2,3\n",
       "line 3: 3 fields, more than the 2 of the header row"},
      {"more fields after a CR-only line", "a\r1,2\r", "line 2: 2 fields, more than the 1 of the header row"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Records(c.csv), c.records) << c.name;
    // A file of commas reads alike when its header row chooses the separator.
    EXPECT_EQ(Records(c.csv, CsvSeparator::kFromHeader), c.records)
        << c.name << ", separator from the header";
  }
}

// Exports separate their fields by semicolons or tabs; the header row tells which, and a comma
// there always means commas, so that no comma file reads otherwise.
TEST(CsvRecords, TheHeaderRowChoosesTheSeparator) {
  const struct {
    const char* name;
    std::string csv;
    std::string records;
  } cases[] = {
      {"semicolons, a decimal comma stays in its field", "a;b\n1,5;2\n", "1:a|b 2:1,5|2"},
      {"tabs, an empty field kept", "a\tb\tc\n1\t\t3\n", "1:a|b|c 2:1||3"},
      {"tabs, spaces around fields dropped", "a \t b\n 1 \t2\n", "1:a|b 2:1|2"},
      {"a comma in the header wins", "a,b;c\n1,2;3\n", "1:a|b;c 2:1|2;3"},
      {"a quoted comma is not a separator", "\"a,x\";b\n1;2\n", "1:a,x|b 2:1|2"},
      {"the more frequent of semicolon and tab", "a;b;c\td\n1;2;3\n", "1:a|b|c\td 2:1|2|3"},
      {"lines of separators before the header", "\n;;\n\t\na;b\n1;2\n", "4:a|b 5:1|2"},
      {"no separator in the header: commas", "a\n1;2\n", "1:a 2:1;2"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Records(c.csv, CsvSeparator::kFromHeader), c.records) << c.name;
  }
}

// A refusal stops in the middle of the text; what follows it is never handed out as records.
TEST(CsvRecords, NothingFollowsARefusal) {
  CsvRecords records("a\n\"1\"x\nb\n");
  std::vector<std::string> fields;
  std::string error;
  ASSERT_EQ(records.Next(&fields, &error), CsvStep::kRecord);
  EXPECT_EQ(records.Next(&fields, &error), CsvStep::kRefused);
  EXPECT_EQ(records.Next(&fields, &error), CsvStep::kRefused);
  EXPECT_EQ(error, "line 2: text after a closing quote");
}

}  // namespace
}  // namespace formats
