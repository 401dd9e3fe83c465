#include "contacts/Contact.h"

#include "tests/support/FileText.h"

#include <gtest/gtest.h>

using namespace contacts;

TEST(Contact, ReadsEachFieldByItsRoleAndKeepsTheLineItWasReadFrom)
{
    const std::string line =
        recordLine({"Ana", "Anita", "30", "05/03", "555", "Calle Mayor 1", "a@b.es", "Prima"}) +
        "sobra";
    const auto contact = Contact::fromStoredLine(line);
    ASSERT_TRUE(contact);
    EXPECT_EQ(contact->name(), "Ana");
    EXPECT_EQ(contact->alias(), "Anita");
    EXPECT_EQ(contact->age(), "30");
    EXPECT_EQ(contact->birthday(), "05/03");
    EXPECT_EQ(contact->phone(), "555");
    EXPECT_EQ(contact->address(), "Calle Mayor 1");
    EXPECT_EQ(contact->email(), "a@b.es");
    EXPECT_EQ(contact->note(), "Prima");
    EXPECT_TRUE(contact->isStored());
    // The identity keeps the text after the eighth terminator; the written line does not.
    EXPECT_EQ(contact->storedLine(), line);
    EXPECT_EQ(contact->line(), line.substr(0, line.size() - 5));
}

TEST(Contact, ALineWithoutItsEighthTerminatorKeepsTheRestAsTheNote)
{
    const auto contact = Contact::fromStoredLine(cp1252("Ana§§30§05/03§§§§de Ana"));
    ASSERT_TRUE(contact);
    EXPECT_EQ(contact->email(), "");
    EXPECT_EQ(contact->note(), "de Ana");
    EXPECT_EQ(contact->line(), cp1252("Ana§§30§05/03§§§§de Ana§"));
    EXPECT_EQ(Contact::fromStoredLine(cp1252("Ana§§30§05/03§§§§"))->note(), "");
}

TEST(Contact, ALineLackingAnEarlierTerminatorHoldsNoContact)
{
    for (const std::string& line : {std::string(), cp1252("Ana"), cp1252("Ana§§30§05/03§§§")}) {
        EXPECT_FALSE(Contact::fromStoredLine(line)) << line;
    }
}

TEST(Contact, ANewContactIsNotStoredAndBuildsItsLine)
{
    Contact::Values values;
    values[static_cast<int>(ContactField::Name)] = "Beto";
    values[static_cast<int>(ContactField::Birthday)] = "07/07";
    values[static_cast<int>(ContactField::Note)] = std::string("a\0b", 3);
    const Contact contact(values);
    EXPECT_FALSE(contact.isStored());
    EXPECT_EQ(contact.storedLine(), "");
    EXPECT_EQ(contact.line(), std::string("Beto\xA7\xA7\xA7\x30\x37/07\xA7\xA7\xA7\xA7"
                                          "a\0b\xA7",
                                          20));
    EXPECT_EQ(contact.values(), values);
    EXPECT_EQ(Contact::fromStoredLine(contact.line())->values(), values);
}
