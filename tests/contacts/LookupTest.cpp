#include "Lookup.h"

#include "FileText.h"

#include <gtest/gtest.h>

using namespace contacts;

namespace {

std::string contact(const std::string& name, const std::string& note = "")
{
    return recordLine({name, "", "30", "05/03", "", "", "", note});
}

} // namespace

TEST(ListContacts, ListsEveryLineAndTheFirstLinesNote)
{
    const std::string content =
        fileOf({contact("Carla", "nota de Carla"), contact("Ana", "nota de Ana"),
                recordLine({"Bruno", "B", "20", "5/3", "555", "Calle", "b@x", "n"})});
    const ListedContacts listed = listContacts(content);
    ASSERT_EQ(listed.rows.size(), 3u);
    EXPECT_TRUE(listed.complete);
    EXPECT_EQ(listed.rows[0][Nombre], "Carla");
    EXPECT_EQ(listed.rows[2][Cumple], "5/3");
    EXPECT_EQ(listed.rows[2][Email], "b@x");
    EXPECT_EQ(listed.firstNote, cp1252("nota de Carla"));
}

TEST(ListContacts, ALineLackingATerminatorEndsTheLoading)
{
    // Field 7 is only needed on the first line.
    const std::string withoutNote = "Ana\xA7\xA7\x33\x30\xA7\x30\x35/03\xA7\xA7\xA7\xA7";
    ListedContacts listed =
        listContacts(fileOf({contact("Carla"), withoutNote, "roto", contact("Zoe")}));
    EXPECT_EQ(listed.rows.size(), 2u);
    EXPECT_FALSE(listed.complete);

    listed = listContacts(fileOf({withoutNote, contact("Zoe")}));
    EXPECT_TRUE(listed.rows.empty());
    EXPECT_FALSE(listed.complete);

    listed = listContacts(fileOf({contact("Carla"), "", contact("Zoe")}));
    EXPECT_EQ(listed.rows.size(), 1u);
}

TEST(ListContacts, AnEmptyFileHoldsNoContact)
{
    const ListedContacts listed = listContacts("");
    EXPECT_TRUE(listed.rows.empty());
    EXPECT_TRUE(listed.complete);
}

TEST(NoteLookup, FindsTheFirstLineWithExactlyThatName)
{
    const std::string content =
        fileOf({contact("ana", "minúscula"), contact("Ana", "primera"), contact("Ana", "segunda")});
    EXPECT_EQ(noteOf(content, "Ana"), cp1252("primera"));
    EXPECT_EQ(noteOf(content, "ana"), cp1252("minúscula"));
    EXPECT_EQ(noteOf(content, "ANA"), std::nullopt);
    EXPECT_EQ(noteOf(fileOf({"Ana\xA7sin nota"}), "Ana"), std::nullopt);
}

TEST(DuplicateNames, TheAddTestIgnoresCaseOnly)
{
    const std::string content = fileOf({"sin terminador", contact("Ana"), contact("Ángel")});
    EXPECT_TRUE(isNameStored(content, cp1252("ANA")));
    EXPECT_TRUE(isNameStored(content, cp1252("ana")));
    EXPECT_TRUE(isNameStored(content, cp1252("ÁNGEL")));
    EXPECT_FALSE(isNameStored(content, cp1252("Ana ")));
    EXPECT_FALSE(isNameStored(content, cp1252("Angel")));
    EXPECT_FALSE(isNameStored("", "Ana"));
}

TEST(DuplicateNames, TheModifyTestPassesOverTheContactsOwnName)
{
    const std::string content = fileOf({contact("ana"), contact("bea"), contact("Ana")});
    EXPECT_FALSE(isNameTakenByAnother(content, "ana", "ana"));
    EXPECT_FALSE(isNameTakenByAnother(content, "Ana", "ana")); // only capitals changed
    EXPECT_TRUE(isNameTakenByAnother(content, "BEA", "ana"));
    EXPECT_FALSE(isNameTakenByAnother(content, "Carmen", "ana"));
    EXPECT_TRUE(isNameTakenByAnother(content, "ana", "bea"));
}
