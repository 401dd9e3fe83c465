#include "contacts/Lines.h"
#include "contacts/Record.h"

#include <gtest/gtest.h>

using namespace contacts;

struct LinesCase {
    const char* name;
    std::string content;
    std::vector<std::string> lines;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LinesCase& lines, std::ostream* out)
{
    *out << lines.name;
}

class SplitLines : public testing::TestWithParam<LinesCase> {};

TEST_P(SplitLines, ReadsTheLinesOfTheFile)
{
    const auto views = splitLines(GetParam().content);
    EXPECT_EQ(std::vector<std::string>(views.begin(), views.end()), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Contacts, SplitLines,
    testing::Values(
        LinesCase{"EmptyFile", "", {}}, LinesCase{"CrLfEveryLine", "a\r\nb\r\n", {"a", "b"}},
        LinesCase{"LastLineWithoutLineEnd", "a\r\nb", {"a", "b"}},
        LinesCase{"BareLineFeeds", "a\nb\n", {"a", "b"}},
        LinesCase{"BareCarriageReturns", "a\rb\r", {"a", "b"}},
        LinesCase{"CrThenCrLfIsAnEmptyLine", "a\r\r\nb", {"a", "", "b"}},
        LinesCase{"LfThenCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}},
        LinesCase{"OnlyALineEnd", "\r\n", {""}},
        LinesCase{"NulBytesStayInTheLine", std::string("a\0b\r\n", 5), {std::string("a\0b", 3)}}),
    [](const auto& info) { return info.param.name; });

TEST(Records, SplitsEightTerminatedFieldsAndIgnoresWhatFollows)
{
    const auto fields = splitFields("Ana\xA7\x41nita\xA7\x33\x30\xA7\x30\x35/03\xA7\xA7"
                                    "Calle Mayor 1\xA7\xA7Prima\xA7sobra\xA7mas");
    ASSERT_TRUE(fields);
    EXPECT_EQ((*fields)[ContactField::Name], "Ana");
    EXPECT_EQ((*fields)[ContactField::Alias], "Anita");
    EXPECT_EQ((*fields)[ContactField::Age], "30");
    EXPECT_EQ((*fields)[ContactField::Birthday], "05/03");
    EXPECT_EQ((*fields)[ContactField::Phone], "");
    EXPECT_EQ((*fields)[ContactField::Address], "Calle Mayor 1");
    EXPECT_EQ((*fields)[ContactField::Email], "");
    EXPECT_EQ((*fields)[ContactField::Note], "Prima");
}

TEST(Records, ALineMissingATerminatorDoesNotSplit)
{
    EXPECT_FALSE(splitFields("Ana\xA7\xA7\x33\x30\xA7\x30\x35/03\xA7"));
    EXPECT_TRUE(splitFields("Ana\xA7\xA7\x33\x30\xA7\x30\x35/03\xA7", 4));
    EXPECT_FALSE(splitFields(""));
    EXPECT_EQ(nameOf("sin terminador"), std::nullopt);
    EXPECT_EQ(nameOf("\xA7"), "");
}

TEST(Records, BuildsEmptyFieldsAsNothingAndKeepsEightTerminators)
{
    Fields fields;
    fields[ContactField::Name] = "Ana";
    fields[ContactField::Birthday] = "05/03";
    const std::string line = buildLine(fields);
    EXPECT_EQ(line, "Ana\xA7\xA7\xA7\x30\x35/03\xA7\xA7\xA7\xA7\xA7");
    const auto back = splitFields(line);
    ASSERT_TRUE(back);
    EXPECT_EQ(buildLine(*back), line);
}

TEST(Records, StorableValuesHoldNoTerminatorAndNoLineBreak)
{
    EXPECT_TRUE(isStorableValue("Calle Mayor, 1 - 2\xBA"));
    EXPECT_FALSE(isStorableValue("a\xA7\x62"));
    EXPECT_FALSE(isStorableValue("dos\r\nlineas"));
    EXPECT_FALSE(isStorableValue("dos\nlineas"));
}
