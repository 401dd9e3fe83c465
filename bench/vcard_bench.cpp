// Contacts in and out at the size of a large address book: a .vcf of 10,000 cards read, mapped
// and marked against 10,000 stored names (what the import preview needs), and both exports.
#include "BirthdayCalendar.h"
#include "CardImport.h"
#include "ImportMarks.h"
#include "VCardWriter.h"

#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono;
using exchange::VCardFile;

constexpr size_t kCards = 10'000;
const year_month_day kToday = 2026y / December / 8d;

const char* const kGiven[] = {"Ángel", "Lucía", "María José", "Íñigo", "Begoña", "Raúl", "Núria"};
const char* const kFamily[] = {"Pérez García", "Muñoz", "Fernández", "Güell", "Ibáñez", "Soto"};

std::string twoDigits(int value)
{
    return (value < 10 ? "0" : "") + std::to_string(value);
}

// Every third card is a 2.1 card in QUOTED-PRINTABLE as older phones write them; the others are
// 3.0 cards with escapes and a folded line, one birthday in five without a year.
std::string generateVCards(size_t count)
{
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        const std::string name =
            std::string(kGiven[i % 7]) + " " + kFamily[(i / 7) % 6] + " " + number;
        const std::string monthDay =
            twoDigits(static_cast<int>(i % 12) + 1) + twoDigits(static_cast<int>(i % 28) + 1);
        if (i % 3 == 0) {
            out += "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8:;" + name +
                   ";;;\r\nFN;CHARSET=UTF-8:" + name + "\r\nTEL;CELL:+34 600 " + number +
                   "\r\nBDAY:1970" + monthDay +
                   "\r\nNOTE;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:Le gusta el "
                   "f=C3=BAtbol=0D=0A=\r\ny la m=C3=BAsica\r\nEND:VCARD\r\n";
        } else {
            out += "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name + "\r\nN:;" + name +
                   ";;;\r\nTEL;TYPE=work:+34 91 " + number + "\r\nBDAY:" + (i % 5 ? "1985" : "--") +
                   monthDay + "\r\nEMAIL;TYPE=INTERNET:contacto" + number +
                   "@example.com\r\nADR;TYPE=home:;;Calle de la Princesa\\, " + number +
                   ";Madrid;;28008;Espa\r\n ña\r\nEND:VCARD\r\n";
        }
    }
    return out;
}

std::vector<std::string> storedNames(size_t count)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i)
        names.push_back("Contacto guardado " + std::to_string(i));
    names.push_back("ángel pérez garcía 0"); // one card's name, in another case
    return names;
}

void ImportPreview(benchmark::State& state)
{
    const std::string vcf = generateVCards(kCards);
    const std::vector<std::string> stored = storedNames(kCards);
    for (auto _ : state) {
        const VCardFile file = exchange::readVCards(vcf);
        const auto cards = exchange::importCards(file, kToday);
        const auto marks = exchange::markImport(cards, stored);
        const bool allRead =
            marks.size() == kCards && marks[0] == exchange::ImportMark::NameStored &&
            std::count(marks.begin(), marks.end(), exchange::ImportMark::New) == kCards - 1 &&
            std::all_of(cards.begin(), cards.end(), [](const auto& c) { return c.storable(); });
        if (!allRead)
            state.SkipWithError("the cards were not all read and marked");
        benchmark::DoNotOptimize(marks.data());
    }
    state.counters["MB"] = static_cast<double>(vcf.size()) / 1e6;
}
BENCHMARK(ImportPreview)->Unit(benchmark::kMillisecond);

std::vector<exchange::ContactValues> contactsToExport()
{
    const VCardFile file = exchange::readVCards(generateVCards(kCards));
    std::vector<exchange::ContactValues> contacts;
    for (const auto& card : exchange::importCards(file, kToday))
        contacts.push_back(card.values);
    return contacts;
}

void ExportVCards(benchmark::State& state)
{
    const auto contacts = contactsToExport();
    for (auto _ : state)
        benchmark::DoNotOptimize(exchange::writeVCards(contacts, kToday).size());
}
BENCHMARK(ExportVCards)->Unit(benchmark::kMillisecond);

void ExportBirthdayCalendar(benchmark::State& state)
{
    const auto contacts = contactsToExport();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            exchange::writeBirthdayCalendar(contacts, sys_days{kToday}).text.size());
}
BENCHMARK(ExportBirthdayCalendar)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
