#include "ContactChanges.h"

#include "FileText.h"
#include "Record.h"
#include "TempDir.h"

#include <gtest/gtest.h>

using namespace contacts;

namespace {

const std::string kAna =
    recordLine({"Ana", "Anita", "30", "05/03", "", "Calle Mayor 1", "", "Prima"});
const std::string kBruno = recordLine({"Bruno", "", "20", "01/01", "", "", "", ""});
const std::string kCarla = recordLine({"Carla", "", "40", "07/12", "", "", "", "nota"});

SelectedContact selected(const std::string& line)
{
    return {line, std::string(*nameOf(line))};
}

} // namespace

TEST(AddContact, AppendsTheRecordAfterEveryStoredLine)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", kAna + "\r\n" + kBruno + "\r\n" + kCarla); // no final line end
    writeBytes(dir / "data2.tvl", "stale content from an earlier run");
    const auto result = appendRecord(dir.path(), "Dora\xA7\xA7\xA7\x30\x37/07\xA7\xA7\xA7\xA7\xA7");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(readBytes(dir / "data.tvl"),
              fileOf({kAna, kBruno, kCarla, "Dora\xA7\xA7\xA7\x30\x37/07\xA7\xA7\xA7\xA7\xA7"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "data2.tvl"));
}

TEST(AddContact, AVanishedFileIsCreatedWithTheNewRecordAlone)
{
    TempDir dir;
    ASSERT_TRUE(appendRecord(dir.path(), kAna).ok());
    EXPECT_EQ(readBytes(dir / "data.tvl"), fileOf({kAna}));
}

TEST(RemoveContact, DropsEveryLineEqualToTheRebuiltLineAndKeepsTheRest)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", fileOf({kAna, kBruno, kAna, kCarla}));
    const auto result = removeContact(dir.path(), selected(kAna));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.droppedLines, 2u);
    EXPECT_EQ(readBytes(dir / "data.tvl"), fileOf({kBruno, kCarla}));
    EXPECT_FALSE(std::filesystem::exists(dir / "data.tvl2"));
}

TEST(RemoveContact, RemovingTheOnlyContactLeavesAnEmptyFile)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", fileOf({kAna}));
    ASSERT_TRUE(removeContact(dir.path(), selected(kAna)).ok());
    EXPECT_EQ(readBytes(dir / "data.tvl"), "");
}

TEST(RemoveContact, FallsBackToTheNameWhenTheStoredLineChangedMeanwhile)
{
    TempDir dir;
    // The reminder advanced the age and shortened the birthday since the list was loaded.
    const std::string advanced =
        recordLine({"Ana", "Anita", "31", "5/3", "", "Calle Mayor 1", "", "Prima"});
    const std::string otherCase = recordLine({"ana", "", "1", "1/1", "", "", "", ""});
    writeBytes(dir / "data.tvl", fileOf({kBruno, advanced, otherCase, kCarla + "sobra"}));
    auto result = removeContact(dir.path(), selected(kAna));
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.droppedLines, 1u);
    EXPECT_EQ(readBytes(dir / "data.tvl"), fileOf({kBruno, otherCase, kCarla + "sobra"}));

    // Text after the eighth terminator: the line no longer equals the rebuilt one.
    result = removeContact(dir.path(), selected(kCarla));
    EXPECT_EQ(result.droppedLines, 1u);
    EXPECT_EQ(readBytes(dir / "data.tvl"), fileOf({kBruno, otherCase}));
}

TEST(RemoveContact, AMissingFileStaysMissing)
{
    TempDir dir;
    const auto result = removeContact(dir.path(), selected(kAna));
    EXPECT_EQ(result.rewrite.outcome, RewriteResult::Outcome::Declined);
    EXPECT_FALSE(std::filesystem::exists(dir / "data.tvl"));
}

TEST(ReplaceContact, TheChangedContactBecomesTheLastLine)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", fileOf({kAna, kBruno, kAna, kCarla}));
    const std::string changed = recordLine({"Ana", "Anita", "30", "05/03", "555", "", "", ""});
    const auto result = replaceContact(dir.path(), selected(kAna), changed);
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.droppedLines, 2u);
    EXPECT_EQ(readBytes(dir / "data.tvl"), fileOf({kBruno, kCarla, changed}));
    EXPECT_FALSE(std::filesystem::exists(dir / "data2.tvl"));
}

TEST(ReplaceContact, NeverLeavesTwoRecordsWithOneNameWhenTheLineChangedMeanwhile)
{
    TempDir dir;
    const std::string advanced =
        recordLine({"Ana", "Anita", "31", "5/3", "", "Calle Mayor 1", "", "Prima"});
    writeBytes(dir / "data.tvl", fileOf({advanced, kBruno}));
    const std::string changed = recordLine({"Ana María", "Anita", "31", "05/03", "", "", "", ""});
    ASSERT_TRUE(replaceContact(dir.path(), selected(kAna), changed).ok());
    EXPECT_EQ(readBytes(dir / "data.tvl"), fileOf({kBruno, changed}));
}
