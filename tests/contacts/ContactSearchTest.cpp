#include "contacts/ContactSearch.h"

#include "tests/support/FileText.h"

#include <gtest/gtest.h>

using namespace contacts;

namespace {

struct SearchCase {
    const char* name;
    const char* typed; // UTF-8, as typed into the search box
    bool matches;
};

// Name, alias, age, birthday, telephone, address, e-mail and note: one word each somewhere.
const Contact kContact = *Contact::fromStoredLine(
    recordLine({"Ana García Muñoz", "Anita", "30", "05/03", "600 123", "Calle Mayor, Sevilla",
                "ana@correo.es", "Le gustan las ROSAS y el café"}));

void PrintTo(const SearchCase& row, std::ostream* out)
{
    *out << row.name;
}

class ContactSearch : public ::testing::TestWithParam<SearchCase> {};

} // namespace

TEST_P(ContactSearch, MatchesWhenEveryWordStandsInSomeField)
{
    EXPECT_EQ(matchesSearch(kContact, searchWords(cp1252(GetParam().typed))), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Words, ContactSearch,
    ::testing::Values(SearchCase{"NothingTypedMatchesEveryContact", "  ", true},
                      SearchCase{"CapitalsAreSmallLetters", "GARCÍA", true},
                      SearchCase{"AccentsAreLeftOut", "garcia", true},
                      SearchCase{"AnAccentTypedWhereNoneIsStored", "cáfé", true},
                      SearchCase{"EnyeIsALetterOfItsOwn", "munoz", false},
                      SearchCase{"EnyeInCapitals", "MUÑOZ", true},
                      SearchCase{"TheNoteIsSearchedToo", "rosas", true},
                      SearchCase{"WordsInDifferentFields", "anita sevilla 600", true},
                      SearchCase{"OneWordFoundNowhere", "ana madrid", false},
                      SearchCase{"AWordNeverSpansTwoFields", "anitacalle", false},
                      SearchCase{"PartOfAWord", "corr", true},
                      SearchCase{"NonBreakingSpacesSeparateWords", "ana\u00A0rosas", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ContactSearchLetters, EachAccentedVowelIsItsPlainOneAndTheOtherLettersStay)
{
    EXPECT_EQ(
        searchWords(cp1252("ÁÉÍÓÚÜ àèìòùü Ñ Ç Œ Š Ÿ")),
        (std::vector<std::string>{"aeiouu", "aeiouu", cp1252("ñ"), "c", cp1252("œ"), "s", "y"}));
}
