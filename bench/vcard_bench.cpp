// Contacts in and out at the size of a large address book: a .vcf of 10,000 cards read, mapped
// and marked against 10,000 stored names (what the import preview needs), and both exports.
#include "bench/VCardGenerator.h"
#include "contacts/Windows1252.h"
#include "exchange/BirthdayCalendar.h"
#include "exchange/CardImport.h"
#include "exchange/ImportMarks.h"
#include "exchange/VCardWriter.h"

#include <algorithm>
#include <benchmark/benchmark.h>

namespace {

using namespace std::chrono;
using exchange::VCardFile;

constexpr size_t kCards = 10'000;
const year_month_day kToday = 2026y / December / 8d;

std::vector<std::string> storedNames(size_t count)
{
    std::vector<std::string> names;
    for (size_t i = 0; i < count; ++i)
        names.push_back("Contacto guardado " + std::to_string(i));
    // One card's name, in another case, stored as the contact file stores it.
    names.push_back(*contacts::utf8ToWindows1252("ángel pérez garcía 0"));
    return names;
}

void ImportPreview(benchmark::State& state)
{
    const std::string vcf = bench::generateVCards(kCards);
    const std::vector<std::string> storedBytes = storedNames(kCards);
    const std::vector<std::string_view> stored(storedBytes.begin(), storedBytes.end());
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

// The same cards with names in other alphabets and letters that Windows-1252 lacks: every name
// goes through ICU's transliteration.
void ImportPreviewTransliterated(benchmark::State& state)
{
    const std::string vcf = bench::generateVCards(kCards, true);
    for (auto _ : state) {
        const VCardFile file = exchange::readVCards(vcf);
        const auto cards = exchange::importCards(file, kToday);
        const bool allRead =
            cards.size() == kCards && cards[0].values.name == "Lukasz Wisniewski 0" &&
            std::all_of(cards.begin(), cards.end(), [](const auto& c) {
                return c.storable() && c.changes.front().role == exchange::Role::Name &&
                       c.changes.front().kind == exchange::ValueChange::Transliterated;
            });
        if (!allRead)
            state.SkipWithError("the names were not all transliterated");
        benchmark::DoNotOptimize(cards.data());
    }
    state.counters["MB"] = static_cast<double>(vcf.size()) / 1e6;
}
BENCHMARK(ImportPreviewTransliterated)->Unit(benchmark::kMillisecond);

std::vector<exchange::ContactValues> contactsToExport()
{
    const VCardFile file = exchange::readVCards(bench::generateVCards(kCards));
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
