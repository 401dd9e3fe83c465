#include "Lines.h"
#include "Lookup.h"
#include "Record.h"

#include <gtest/gtest.h>
#include <random>

using namespace contacts;

namespace {

// Random content made mostly of the bytes that matter to the format.
std::string randomContent(std::mt19937& random, size_t size)
{
    static const char kAlphabet[] = {'\xA7', '\r', '\n', '\0', 'a', '/', '3', ' ', '\xC1', 'A'};
    std::uniform_int_distribution<int> pick(0, sizeof(kAlphabet) - 1);
    std::string content(size, ' ');
    for (char& c : content)
        c = kAlphabet[pick(random)];
    return content;
}

// The lines and their ends account for every byte of the content, in order.
void expectLinesCoverTheContent(std::string_view content)
{
    size_t at = 0;
    for (std::string_view line : splitLines(content)) {
        ASSERT_EQ(line.data(), content.data() + at);
        at += line.size();
        if (at < content.size()) {
            const bool crlf =
                content[at] == '\r' && at + 1 < content.size() && content[at + 1] == '\n';
            at += crlf ? 2 : 1;
        }
    }
    EXPECT_EQ(at, content.size());
}

} // namespace

TEST(BadInput, RandomContentNeverBreaksAReader)
{
    std::mt19937 random(20261208);
    for (int round = 0; round < 2000; ++round) {
        const std::string content = randomContent(random, random() % 300);
        expectLinesCoverTheContent(content);
        const ListedContacts listed = listContacts(content);
        EXPECT_LE(listed.rows.size(), splitLines(content).size());
        for (const ListFields& row : listed.rows)
            for (std::string_view field : row)
                EXPECT_TRUE(isStorableValue(field));
        noteOf(content, "a");
        isNameStored(content, "A");
        isNameTakenByAnother(content, "a", "A");
    }
}

TEST(BadInput, LinesOfSeveralMegabytesAreReadWhole)
{
    const std::string huge(6 * 1024 * 1024, 'x');
    const std::string content = huge + "\xA7\xA7\xA7\xA7\xA7\xA7\xA7\xA7\r\n" + huge;
    const ListedContacts listed = listContacts(content);
    ASSERT_EQ(listed.rows.size(), 1u);
    EXPECT_EQ(listed.rows[0][Nombre].size(), huge.size());
    EXPECT_FALSE(listed.complete); // the second line holds no terminator
    EXPECT_FALSE(isNameStored(content, "x"));
    EXPECT_EQ(noteOf(content, huge), "");
}

TEST(BadInput, NulBytesAreOrdinaryCharacters)
{
    const std::string name("A\0B", 3);
    const std::string content = name + "\xA7\xA7\xA7\xA7\xA7\xA7\xA7nota\xA7\r\n";
    const ListedContacts listed = listContacts(content);
    ASSERT_EQ(listed.rows.size(), 1u);
    EXPECT_EQ(listed.rows[0][Nombre], name);
    EXPECT_EQ(noteOf(content, name), "nota");
    EXPECT_EQ(noteOf(content, "A"), std::nullopt);
}
