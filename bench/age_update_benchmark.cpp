// The age update of a large contact file on a day with many birthdays: one locked, synced
// rewrite of the whole file and a marker file per birthday.
#include "bench/ContactFileGenerator.h"
#include "reminder/core/AgeUpdate.h"
#include "reminder/core/DueBirthdays.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>

namespace {

using namespace std::chrono;

const reminder::Date kToday = 2026y / December / 7d;

void writeFile(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

void AgeUpdateOfManyBirthdays(benchmark::State& state)
{
    bench::GeneratorOptions options;
    options.contacts = static_cast<std::size_t>(state.range(0));
    options.avoidUpcomingFrom = true;
    options.avoidFrom = kToday;
    options.birthdaysOnAvoidFrom = static_cast<std::size_t>(state.range(1));
    const std::string content = bench::generateContactFile(options);
    const std::vector<std::string> names = reminder::dueBirthdaysIn(content, kToday).today;

    std::string pattern = (std::filesystem::temp_directory_path() / "age-update-XXXXXX").string();
    const std::filesystem::path dir = ::mkdtemp(pattern.data());
    for (auto _ : state) {
        state.PauseTiming();
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            std::filesystem::remove(entry.path());
        writeFile(dir / "data.tvl", content);
        state.ResumeTiming();
        const auto result = reminder::advanceAges(dir, kToday, names);
        if (result.advanced != names.size())
            state.SkipWithError("not every birthday was advanced");
    }
    std::filesystem::remove_all(dir);
    state.counters["birthdays"] = static_cast<double>(names.size());
}

BENCHMARK(AgeUpdateOfManyBirthdays)->Args({100'000, 300})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
