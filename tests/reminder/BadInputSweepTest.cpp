// Whatever the contact file holds, the reminder neither crashes nor hangs on it, and its age
// update loses no line.
#include "contacts/Birthday.h"
#include "contacts/Lines.h"
#include "contacts/Record.h"
#include "reminder/core/AgeUpdate.h"
#include "reminder/core/ContactDetails.h"
#include "reminder/core/StartupScan.h"
#include "tests/support/FileText.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <random>

using namespace reminder;
using namespace std::chrono;

namespace {

const Date kDec7 = 2026y / December / 7d;

class Generator {
public:
    explicit Generator(unsigned seed) : m_random(seed) {}

    std::string randomBytes(std::size_t size)
    {
        std::string bytes(size, '\0');
        for (char& c : bytes)
            c = static_cast<char>(m_random() & 0xFF);
        return bytes;
    }

    // Bytes that often form fields, birthdays and line ends, so that the sweep reaches deep
    // into the parsing and not only its first check.
    std::string recordish(std::size_t lines)
    {
        static const std::string pieces[] = {"\xA7",    "\xA7",  "\xA7",
                                             "07/12",   "7/12",  "08/12",
                                             "29/02",   "31/02", "30",
                                             "a\xF1os", "Ana",   "Ana",
                                             "/",       "..",    "\r\n",
                                             "\n",      "\r",    std::string(1, '\0'),
                                             "",        " ",     "99999999999999999999"};
        std::string out;
        for (std::size_t i = 0; i < lines; ++i) {
            const std::size_t count = m_random() % 14;
            for (std::size_t j = 0; j < count; ++j)
                out += pieces[m_random() % std::size(pieces)];
            out += m_random() % 5 ? "\r\n" : "";
        }
        return out;
    }

    unsigned next() { return m_random(); }

private:
    std::mt19937 m_random;
};

std::vector<std::string> linesOf(std::string_view content)
{
    std::vector<std::string> lines;
    for (std::string_view line : contacts::splitLines(content))
        lines.emplace_back(line);
    return lines;
}

// A good line keeps every field but its age (which may grow by one) and the spelling of its
// birthday, and every byte after its eighth terminator; any other line stays exactly as it was.
void expectKept(const std::string& before, const std::string& after)
{
    const auto old = contacts::splitFields(before);
    const auto birthday =
        old ? contacts::parseBirthday((*old)[contacts::ContactField::Birthday]) : std::nullopt;
    if (!birthday || !contacts::isCalendarDay(*birthday)) {
        EXPECT_EQ(after, before);
        return;
    }
    const auto now = contacts::splitFields(after);
    ASSERT_TRUE(now);
    for (contacts::ContactField field :
         {contacts::ContactField::Name, contacts::ContactField::Alias,
          contacts::ContactField::Phone, contacts::ContactField::Address,
          contacts::ContactField::Email, contacts::ContactField::Note})
        EXPECT_EQ((*now)[field], (*old)[field]);
    EXPECT_EQ((*now)[contacts::ContactField::Birthday], contacts::shortBirthdayText(*birthday));
    const std::string age((*now)[contacts::ContactField::Age]);
    const std::string_view oldAge = (*old)[contacts::ContactField::Age];
    // An unknown age stays as it is; a known one grows by one at most.
    if (contacts::hasLeadingNumber(oldAge))
        EXPECT_TRUE(age == oldAge || age == contacts::nextAge(oldAge));
    else
        EXPECT_EQ(age, oldAge);
    const auto restOf = [](std::string_view line, std::string_view note) {
        return line.substr(static_cast<std::size_t>(note.data() + note.size() + 1 - line.data()));
    };
    EXPECT_EQ(restOf(after, (*now)[contacts::ContactField::Note]),
              restOf(before, (*old)[contacts::ContactField::Note]));
}

void sweep(const std::string& content)
{
    TempDir dir;
    writeBytes(dir / "data.tvl", content);
    const auto due = runStartup(dir.path(), kDec7);
    ASSERT_TRUE(due);
    EXPECT_EQ(due->today, dueBirthdaysIn(content, kDec7).today);
    for (const auto& name : due->today)
        lookUpContactDetails(dir.path(), name);

    advanceAges(dir.path(), kDec7, due->today);
    const auto before = linesOf(content);
    const auto after = linesOf(readBytes(dir / "data.tvl"));
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i));
        expectKept(before[i], after[i]);
    }
}

TEST(BadInputSweep, RandomBytes)
{
    Generator generator(1);
    for (int round = 0; round < 120; ++round)
        sweep(generator.randomBytes(generator.next() % 4000));
}

TEST(BadInputSweep, RecordLikeNoise)
{
    Generator generator(2);
    for (int round = 0; round < 300; ++round)
        sweep(generator.recordish(1 + generator.next() % 40));
}

TEST(BadInputSweep, HugeLinesAndNuls)
{
    Generator generator(3);
    const std::string huge(5'000'000, 'x');
    sweep(huge);
    sweep(cp1252("Ana§Anita§30§07/12§") + huge + "\xA7\xA7\xA7\xA7\r\n" + huge);
    sweep(std::string(100'000, '\0'));
    sweep(std::string(100'000, '\xA7'));
    sweep(std::string(100'000, '\r'));
    sweep(cp1252("Ana§\0§30§07/12§\0§§§§") + "\r\n");
}

TEST(BadInputSweep, MissingTerminators)
{
    const std::string full = cp1252("Ana§Anita§30§07/12§555§Calle§a@b§nota§");
    std::string content;
    // Every prefix of a good line, each on its own line.
    for (std::size_t cut = 0; cut <= full.size(); ++cut)
        contacts::appendLine(content, full.substr(0, cut));
    sweep(content);
}

} // namespace
