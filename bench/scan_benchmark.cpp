// The reminder's start-up scan on a day with nothing to announce, against the plain streaming
// reader on the same file in the same run: scan_benchmark [google benchmark flags].
#include "bench/ContactFileGenerator.h"
#include "bench/PlainStreamingReader.h"
#include "reminder/core/StartupScan.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fstream>

namespace {

using namespace std::chrono;

const reminder::Date kToday = 2026y / December / 7d;

// A program directory with a contact file of that many contacts, none due from kToday.
const std::filesystem::path& programDirectory(std::size_t contacts)
{
    static std::map<std::size_t, std::filesystem::path> dirs;
    auto& dir = dirs[contacts];
    if (dir.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "scan-XXXXXX").string();
        dir = ::mkdtemp(pattern.data());
        bench::GeneratorOptions options;
        options.contacts = contacts;
        options.avoidUpcomingFrom = true;
        options.avoidFrom = kToday;
        std::ofstream(dir / "data.tvl", std::ios::binary) << bench::generateContactFile(options);
    }
    return dir;
}

void NothingDueScan(benchmark::State& state)
{
    const auto& dir = programDirectory(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        const reminder::ScanResult scan = reminder::scanContactFile(dir, kToday);
        if (scan.status != reminder::ScanResult::Status::Scanned || scan.due.anyDue())
            state.SkipWithError("the scan found something due");
        benchmark::DoNotOptimize(scan);
    }
}

void PlainStreamingReader(benchmark::State& state)
{
    const auto file = programDirectory(static_cast<std::size_t>(state.range(0))) / "data.tvl";
    for (auto _ : state) {
        const bench::PlainReading reading = bench::readPlainly(file.c_str());
        if (reading.lines != static_cast<std::uint64_t>(state.range(0)))
            state.SkipWithError("the reader lost lines");
        benchmark::DoNotOptimize(reading);
    }
}

BENCHMARK(NothingDueScan)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainStreamingReader)->Arg(100'000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    std::filesystem::remove_all(programDirectory(100'000), ignored);
    return 0;
}
