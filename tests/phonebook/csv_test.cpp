// The CSV reader and writer on their own: records, line numbers, quoting.
#include <gtest/gtest.h>

#include "phonebook/csv.h"

using namespace phonebook;

namespace {

struct ReadCase {
    const char *what;
    std::string text;
    char separator;
    std::vector<csv::Record> records;
    std::vector<int> unclosedQuotes = {};
};

const ReadCase readCases[] = {
    {"semicolons; a comma in a name does not count", "101;Meier, Hans;030 1234\n", ';',
     {{1, {"101", "Meier, Hans", "030 1234"}}}},
    {"commas, CR LF, an empty code", "101,Meier,0301\r\n,Schulz,040\r\n", ',',
     {{1, {"101", "Meier", "0301"}}, {2, {"", "Schulz", "040"}}}},
    {"a quoted semicolon on the first line is no separator", "\"a;b\",c,d\n", ',', {{1, {"a;b", "c", "d"}}}},
    {"doubled quotes, separator inside quotes", "\"1\"\"0\";\"a;b\";x\n", ';', {{1, {"1\"0", "a;b", "x"}}}},
    {"a line break inside quotes: the next record is two lines on",
     "101;\"Zeile 1\r\nZeile 2\";1\n102;b;2\n", ';',
     {{1, {"101", "Zeile 1\r\nZeile 2", "1"}}, {3, {"102", "b", "2"}}}},
    {"blank lines give no record, a lone CR ends a line", "\n  \n101;a;1\r102;b;2", ';',
     {{3, {"101", "a", "1"}}, {4, {"102", "b", "2"}}}},
    {"unquoted fields lose their blanks, quoted ones keep them", " 101 ; \" a \" ;1\t", ';',
     {{1, {"101", " a ", "1"}}}},
    {"an empty quoted field is a record", "\"\"\n", ',', {{1, {""}}}},
    {"separators only: a record of empty fields", ";;\n", ';', {{1, {"", "", ""}}}},
    {"a quote nothing closes is a character: the lines after it stay lines", "1;\"ab\nc;\"\"d\n", ';',
     {{1, {"1", "\"ab"}}, {2, {"c", "d"}}}, {1}},
    {"tabs: empty fields stay, blanks go, a quoted tab is text", "Name\tTel\t\tFax\n A \t\"1\t2\"\t\t3\n", '\t',
     {{1, {"Name", "Tel", "", "Fax"}}, {2, {"A", "1\t2", "", "3"}}}},
    {"more tabs than semicolons", "\"Anrede\"\t\"Firma\"\t\"A;B\"\tC;D\n", '\t', {{1, {"Anrede", "Firma", "A;B", "C;D"}}}},
    {"a tab after the last field, indented lines: semicolons", "\tName;Tel\t\n", ';', {{1, {"Name", "Tel"}}}},
};

TEST(Csv, Reading)
{
    for (const ReadCase &c : readCases) {
        EXPECT_EQ(csv::separatorOf(c.text), c.separator) << c.what;
        std::vector<int> unclosed;
        std::vector<csv::Record> got = csv::read(c.text, c.separator, &unclosed);
        EXPECT_EQ(unclosed, c.unclosedQuotes) << c.what;
        ASSERT_EQ(got.size(), c.records.size()) << c.what;
        for (std::size_t k = 0; k < got.size(); ++k) {
            EXPECT_EQ(got[k].line, c.records[k].line) << c.what << ", record " << k;
            EXPECT_EQ(got[k].fields, c.records[k].fields) << c.what << ", record " << k;
        }
    }
}

TEST(Csv, ALineWithoutSeparatorIsNoCsv)
{
    EXPECT_TRUE(csv::separated("\n\nName\tTel\n"));
    EXPECT_TRUE(csv::separated("Name,Tel\n"));
    EXPECT_FALSE(csv::separated("\tAnna 030 1234\nOtto;040\n")) << "only the first line counts";
    EXPECT_FALSE(csv::separated("\"a,b;c\"\n")) << "not inside quotes";
}

TEST(Csv, FieldsAreQuotedOnlyWhenTheyMustBe)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Meier", "Meier"},           {"", ""},
        {"a;b", "\"a;b\""},           {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""}, {" Pforte", "\" Pforte\""},
        {"Ende ", "\"Ende \""},       {"a\nb", "\"a\nb\""},
    };
    for (const auto &[value, written] : cases) {
        EXPECT_EQ(csv::field(value, ';'), written) << value;
        // and it reads back as it was, with either separator
        for (char separator : {';', ','}) {
            std::string line = csv::field(value, separator) + separator + "x\r\n";
            std::vector<csv::Record> back = csv::read(line, separator);
            ASSERT_EQ(back.size(), 1u) << value;
            EXPECT_EQ(back[0].fields, (std::vector<std::string>{value, "x"})) << value;
        }
    }
}

} // namespace
