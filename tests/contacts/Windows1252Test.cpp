#include "contacts/Windows1252.h"

#include <gtest/gtest.h>

using namespace contacts;

TEST(Windows1252, EveryByteSurvivesTheRoundTripThroughUtf8)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const std::string utf8 = windows1252ToUtf8(all);
    EXPECT_EQ(utf8ToWindows1252(utf8), all);
}

TEST(Windows1252, ConvertsTheSpanishLettersAndTheSpecialBytes)
{
    EXPECT_EQ(windows1252ToUtf8("\xC1ngel \xF1\x61nd\xFA \xA7 \x80"), "Ángel ñandú § €");
    EXPECT_EQ(utf8ToWindows1252("Ángel ñandú § € Œ"), "\xC1ngel \xF1\x61nd\xFA \xA7 \x80 \x8C");
    // An undefined byte stands for the control character of the same value.
    EXPECT_EQ(windows1252ToUtf8("\x81\x9D"), "\u0081\u009D");
}

TEST(Windows1252, RefusesWhatItCannotHold)
{
    EXPECT_EQ(utf8ToWindows1252("日本"), std::nullopt);
    EXPECT_EQ(utf8ToWindows1252("\u0080"), std::nullopt);   // a C1 control that has no byte
    EXPECT_EQ(utf8ToWindows1252("ok \xFF"), std::nullopt);  // not UTF-8
    EXPECT_EQ(utf8ToWindows1252("\xC3"), std::nullopt);     // cut short
    EXPECT_EQ(utf8ToWindows1252("\xC0\xAF"), std::nullopt); // overlong
}

TEST(Windows1252, LowerCaseCoversTheAccentedCapitals)
{
    EXPECT_EQ(lowerWindows1252(*utf8ToWindows1252("ÁNGEL ÑOÑO ÜBER ŠŒŽŸ ×")),
              *utf8ToWindows1252("ángel ñoño über šœžÿ ×"));
    EXPECT_EQ(lowerWindows1252("abc 123 \xA7"), "abc 123 \xA7");
}
