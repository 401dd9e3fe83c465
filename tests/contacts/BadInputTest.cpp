#include "contacts/Contact.h"
#include "contacts/Lines.h"
#include "contacts/Record.h"

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
        for (std::string_view line : splitLines(content)) {
            const auto contact = Contact::fromStoredLine(line);
            if (!contact)
                continue;
            EXPECT_EQ(contact->storedLine(), line);
            // What is read can be written and read back unchanged.
            const auto again = Contact::fromStoredLine(contact->line());
            ASSERT_TRUE(again);
            EXPECT_EQ(again->values(), contact->values());
            for (const std::string& field : contact->values())
                EXPECT_TRUE(isStorableValue(field));
        }
    }
}

TEST(BadInput, LinesOfSeveralMegabytesAreReadWhole)
{
    const std::string huge(6 * 1024 * 1024, 'x');
    const std::string content = huge + "\xA7\xA7\xA7\xA7\xA7\xA7\xA7\xA7\r\n" + huge;
    const auto lines = splitLines(content);
    ASSERT_EQ(lines.size(), 2u);
    const auto contact = Contact::fromStoredLine(lines[0]);
    ASSERT_TRUE(contact);
    EXPECT_EQ(contact->name().size(), huge.size());
    EXPECT_FALSE(Contact::fromStoredLine(lines[1])); // no terminator at all
}

TEST(BadInput, NulBytesAreOrdinaryCharacters)
{
    const std::string name("A\0B", 3);
    const auto contact = Contact::fromStoredLine(name + "\xA7\xA7\xA7\xA7\xA7\xA7\xA7nota\xA7");
    ASSERT_TRUE(contact);
    EXPECT_EQ(contact->name(), name);
    EXPECT_EQ(contact->note(), "nota");
}
