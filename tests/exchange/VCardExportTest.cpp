#include "exchange/CardImport.h"
#include "exchange/VCardWriter.h"
#include "tests/exchange/FoldedLines.h"

#include <gtest/gtest.h>

using namespace exchange;
using namespace std::chrono;

namespace {

const year_month_day kToday = 2026y / December / 8d;

std::vector<ContactValues> roundTrip(const std::vector<ContactValues>& contacts,
                                     year_month_day importDay = kToday)
{
    const VCardFile file = readVCards(writeVCards(contacts, kToday));
    EXPECT_EQ(file.error, "");
    std::vector<ContactValues> back;
    for (const ImportedCard& card : importCards(file, importDay))
        back.push_back(card.values);
    return back;
}

} // namespace

TEST(VCardExport, AnEmptyBookGetsBackEveryFieldOfEveryContact)
{
    const std::string longNote(300, 'x');
    const std::vector<ContactValues> contacts = {
        {"Ángel Pérez", "Angelito", "46", "05/03", "600 111 222, 3", "Calle Mayor 1, 28013 Madrid",
         "angel@example.com", "Sin gluten; con nata, ¡y velas! \\n no es un salto"},
        {"García, Lucía", "Lu,Lucy", "0", "31/12", "", "", "", "€ Œ ñ " + longNote + " ñ"},
        {"Leap", "", "26", "29/02", "", "", "", ""},
        {"Sin edad", "", "", "01/01", "", "", "", ""},
    };
    EXPECT_EQ(roundTrip(contacts), contacts);
}

TEST(VCardExport, WhatAVCardCannotHoldIsListedAndNothingElseIsLost)
{
    const std::vector<ContactValues> contacts = {
        {"Texto", "", "treinta", "07/07", "", "", "", ""}, // an age that is no number
        {"Bisiesto", "", "25", "29/02", "", "", "", ""},   // born on 29/02 of a common year
        {"Imposible", "", "30", "31/02", "", "", "", ""},  // no day of the calendar
        {"Corto", "", "7", "5/3", "", "", "", ""},         // the reminder's short form
    };
    const std::vector<ContactValues> back = roundTrip(contacts);
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[0], (ContactValues{"Texto", "", "", "07/07", "", "", "", ""}));
    EXPECT_EQ(back[1], (ContactValues{"Bisiesto", "", "", "29/02", "", "", "", ""}));
    EXPECT_EQ(back[2], (ContactValues{"Imposible", "", "", "", "", "", "", ""}));
    EXPECT_EQ(back[3], (ContactValues{"Corto", "", "7", "05/03", "", "", "", ""}));
}

// A stored value may hold a control character from an older import or a hand-edited file: the
// file is still one that readers take, this program's own first.
TEST(VCardExport, ControlCharactersAStoredValueHoldsAreWrittenAsBlanks)
{
    const std::vector<ContactValues> back = roundTrip(
        {{"Ana\x01P\xC3\xA9rez", "\x1B[1mAni", "", "01/01", "600\x7F", "", "", "uno\x0B\tdos"}});
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0], (ContactValues{"Ana P\xC3\xA9rez", " [1mAni", "", "01/01", "600 ", "", "",
                                      "uno \tdos"}));
}

TEST(VCardExport, AgesReadLaterHaveGrownOnTheirBirthdays)
{
    const std::vector<ContactValues> contacts = {{"Ana", "", "30", "09/12", "", "", "", ""},
                                                 {"Bea", "", "30", "10/12", "", "", "", ""}};
    const std::vector<ContactValues> back = roundTrip(contacts, 2026y / December / 9d);
    EXPECT_EQ(back[0].age, "31");
    EXPECT_EQ(back[1].age, "30");
}

TEST(VCardExport, LinesAreFoldedAt75BytesWithoutCuttingACharacter)
{
    std::string name = "x";
    for (int i = 0; i < 100; ++i)
        name += "ñ"; // two bytes each: the 75th byte of a line falls inside one
    const std::string text =
        writeVCards(std::vector<ContactValues>{{name, "", "", "01/01", "", "", "", ""}}, kToday);
    EXPECT_EQ(expectFoldedLines(text), 4); // FN and N, two folds each
}
