#include "reminder/core/ContactDetails.h"

#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace reminder;

namespace {

TEST(ContactDetails, TheLastLineWithTheNameWins)
{
    const std::string content =
        fileOf({recordLine({"Ana", "Anita", "30", "7/12", "111", "Calle 1", "a@x.es", "vieja"}),
                recordLine({"Bea", "", "9", "1/1", "", "", "", ""}),
                recordLine({"Ana", "Nani", "31 años", "7/12", "222", "Calle 2", "b@x.es", "nueva"}),
                cp1252("Ana§sin todos los terminadores§")});
    const auto details = contactDetailsIn(content, "Ana");
    ASSERT_TRUE(details);
    EXPECT_EQ(details->alias, "Nani");
    EXPECT_EQ(details->age, "31");
    EXPECT_EQ(details->phone, "222");
    EXPECT_EQ(details->address, "Calle 2");
    EXPECT_EQ(details->email, "b@x.es");
    EXPECT_EQ(details->note, "nueva");
}

TEST(ContactDetails, AgeWithoutANumberShowsZero)
{
    const auto details =
        contactDetailsIn(fileOf({recordLine({"Ana", "", "", "", "", "", "", ""})}), "Ana");
    ASSERT_TRUE(details);
    EXPECT_EQ(details->age, "0");
}

TEST(ContactDetails, NothingForANameNoLineCarries)
{
    const std::string content = fileOf({recordLine({"Ana", "", "1", "7/12", "", "", "", ""})});
    EXPECT_FALSE(contactDetailsIn(content, "ana"));
    EXPECT_FALSE(contactDetailsIn(content, "Bea"));
    TempDir dir;
    EXPECT_FALSE(lookUpContactDetails(dir.path(), "Ana"));
}

} // namespace
