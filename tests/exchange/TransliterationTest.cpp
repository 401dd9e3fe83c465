#include "exchange/Transliteration.h"

#include "contacts/Record.h"
#include "contacts/Windows1252.h"

#include <gtest/gtest.h>
#include <random>

using namespace exchange;

namespace {

struct Case {
    const char* name;
    std::string_view value;
    bool oneLine;
    std::optional<std::string_view> stored; // nothing: the value is left empty
    bool changed;
};

void PrintTo(const Case& row, std::ostream* out)
{
    *out << row.name;
}

bool storable(std::string_view utf8)
{
    while (!utf8.empty()) {
        size_t length = 1;
        const auto c = contacts::decodeUtf8(utf8, length);
        if (!c || !contacts::isStorableCharacter(*c))
            return false;
        utf8.remove_prefix(length);
    }
    return true;
}

class Transliteration : public testing::TestWithParam<Case> {};

} // namespace

TEST_P(Transliteration, ChangesOnlyWhatTheContactFileCannotHold)
{
    const Case& row = GetParam();
    const std::optional<StorableText> result = storableText(row.value, row.oneLine);
    ASSERT_EQ(result.has_value(), row.stored.has_value());
    if (!result)
        return;
    EXPECT_EQ(result->text, *row.stored);
    EXPECT_EQ(result->changed, row.changed);
    EXPECT_TRUE(storable(result->text));
}

INSTANTIATE_TEST_SUITE_P(
    Values, Transliteration,
    testing::Values(
        Case{"SpanishStaysAsItIs", "Begoña Núñez\t€ ½", true, "Begoña Núñez\t€ ½", false},
        Case{"Polish", "Łukasz Wiśniewska", true, "Lukasz Wisniewska", true},
        Case{"RomanianCommaBelow", "Ștefan Țurcanu", true, "Stefan Turcanu", true},
        Case{"CzechKeepsTheAccentsWindows1252Has", "Antonín Dvořák", true, "Antonín Dvorák", true},
        Case{"Turkish", "Işıl Güneş", true, "Isil Günes", true},
        Case{"Cyrillic", "Москва", true, "Moskva", true},
        Case{"ChineseWithCapitals", "李小龍", true, "Li Xiao Long", true},
        Case{"ChineseKeptApartFromLatinLetters", "Wei李2", true, "Wei Li 2", true},
        Case{"DecomposedAccentsAreNoChange", "Nu\u0301n\u0303ez", true, "Núñez", false},
        Case{"TerminatorBecomesPilcrow", "Ver § 3", false, "Ver ¶ 3", true},
        Case{"ControlCharactersAreBlanksAsLineBreaks", "Ana\x01P\xC3\xA9rez\x7F", true, "Ana Pérez",
             true},
        Case{"WhatHasNoLatinFormIsLeftOutWithItsBlank", "Ana 😀 Pérez ❤️", true, "Ana Pérez",
             true},
        Case{"NoteLineBreaksEachBecomeABlank", "una\r\ndos\n\ntres\u2028", false, "una dos  tres ",
             true},
        Case{"OneLineBreaksJoinOnceAndLeaveTheEnds", "\nAna\r\n\r\nPérez\r\n", true, "Ana Pérez",
             true},
        Case{"MalformedUtf8IsLeftOut", "Ana\xFF", true, "Ana", true},
        Case{"EmptyStaysEmpty", "", true, "", false}, Case{"BlanksStay", "  ", true, "  ", false},
        Case{"OnlyAnEmojiIsLeftEmpty", "😀", true, std::nullopt, false},
        Case{"OnlyAControlCharacterIsLeftEmpty", "\x01", false, std::nullopt, false},
        Case{"OnlyLineBreaksAreLeftEmpty", "\r\n", false, std::nullopt, false}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Whatever a value holds, what comes back can be stored.
TEST(TransliterationSweep, AnyTextComesBackStorableOrNotAtAll)
{
    std::mt19937 random(20261208);
    // Mostly characters of scripts and symbols, with ASCII and line breaks between them.
    std::uniform_int_distribution<char32_t> anyCharacter(0, 0x2FFFF);
    for (int round = 0; round < 3000; ++round) {
        std::string value;
        for (unsigned i = 0; i < 1 + random() % 12; ++i) {
            char32_t c = anyCharacter(random);
            if (c >= 0xD800 && c < 0xE000)
                c = U'x';
            if (random() % 3 == 0)
                c = static_cast<char32_t>(random() % 0x80);
            contacts::appendUtf8(value, c);
        }
        for (bool oneLine : {false, true}) {
            const auto result = storableText(value, oneLine);
            if (result) {
                EXPECT_TRUE(storable(result->text)) << value << " gave " << result->text;
            }
        }
    }
}
