#include "platform/gui/ShownText.h"

#include <gtest/gtest.h>

namespace {

using platform::kCutMark;

std::string utf8(const QString& text)
{
    return text.toStdString();
}

// A value as long as the part shown is shown whole; one character more is cut and marked.
TEST(ShownText, CutsOnlyWhatGoesBeyondAndMarksIt)
{
    EXPECT_EQ(utf8(platform::shownText(u"Begoña", 6)), "Begoña");
    EXPECT_EQ(utf8(platform::shownText(u"Begoña", 5)), utf8(QStringLiteral("Begoñ") + kCutMark));
    // Windows-1252: "Begoña 5€", nine characters (ñ is octal 361, € 200).
    const std::string_view bytes = "Bego\361a 5\200";
    EXPECT_EQ(utf8(platform::shownFileText(bytes, 9)), "Begoña 5€");
    EXPECT_EQ(utf8(platform::shownFileText(bytes, 8)), utf8(QStringLiteral("Begoña 5") + kCutMark));
    EXPECT_EQ(utf8(platform::shownUtf8Text("Begoña 5€", 9)), "Begoña 5€");
    EXPECT_EQ(utf8(platform::shownUtf8Text("Begoña 5€", 8)),
              utf8(QStringLiteral("Begoña 5") + kCutMark));
}

// UTF-8 is counted in characters and cut between them; a QString never between the two halves
// of a character beyond the Basic Multilingual Plane.
TEST(ShownText, NeverSplitsACharacter)
{
    EXPECT_EQ(utf8(platform::shownUtf8Text("ñññ€€", 4)), utf8(QStringLiteral("ñññ€") + kCutMark));
    EXPECT_EQ(utf8(platform::shownUtf8Text("a😀b", 2)), utf8(QStringLiteral("a😀") + kCutMark));
    const QString withEmoji = QStringLiteral("a😀b");
    EXPECT_EQ(utf8(platform::shownText(withEmoji, 2)), utf8(QStringLiteral("a") + kCutMark));
    EXPECT_EQ(utf8(platform::shownText(withEmoji, 3)), utf8(QStringLiteral("a😀") + kCutMark));
}

} // namespace
