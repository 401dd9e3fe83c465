// The manager's start-up at 1,000, 10,000 and 100,000 contacts: reading the contact file,
// filling and sorting the list, and the whole process to its first painted list.
#include "ContactFileGenerator.h"
#include "ContactListModel.h"
#include "ContactStore.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const std::string& contactFile(std::size_t contacts)
{
    static std::map<std::size_t, std::string> files;
    auto& file = files[contacts];
    if (file.empty())
        file = bench::generateContactFile({.contacts = contacts});
    return file;
}

// A directory holding a generated contact file, removed afterwards.
class ContactDirectory {
public:
    explicit ContactDirectory(std::size_t contacts)
        : m_dir(std::filesystem::temp_directory_path() /
                ("tortavela-load-" + std::to_string(contacts)))
    {
        std::filesystem::create_directories(m_dir);
        std::ofstream(m_dir / "data.tvl", std::ios::binary | std::ios::trunc)
            << contactFile(contacts);
    }
    ~ContactDirectory() { std::filesystem::remove_all(m_dir); }
    const std::filesystem::path& path() const { return m_dir; }

private:
    std::filesystem::path m_dir;
};

void BM_ReadContactFile(benchmark::State& state)
{
    const ContactDirectory dir(static_cast<std::size_t>(state.range(0)));
    contacts::ContactStore store(dir.path());
    for (auto _ : state)
        benchmark::DoNotOptimize(store.load());
    state.SetBytesProcessed(static_cast<int64_t>(
        state.iterations() * contactFile(static_cast<std::size_t>(state.range(0))).size()));
}

void BM_FillAndSortList(benchmark::State& state)
{
    const ContactDirectory dir(static_cast<std::size_t>(state.range(0)));
    const contacts::LoadResult loaded = contacts::ContactStore(dir.path()).load();
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<contacts::Contact> contacts = loaded.book.contacts;
        state.ResumeTiming();
        ContactListModel model;
        model.setContacts(std::move(contacts));
        benchmark::DoNotOptimize(model.rowCount());
    }
}

// A program directory holding the start-up binary and a generated contact file.
std::filesystem::path programDirectoryWith(std::size_t contacts)
{
    const auto dir =
        std::filesystem::temp_directory_path() / ("tortavela-bench-" + std::to_string(contacts));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "data.tvl", std::ios::binary | std::ios::trunc) << contactFile(contacts);
    const auto here = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    std::filesystem::copy_file(here / "agendela_first_paint", dir / "agendela_first_paint",
                               std::filesystem::copy_options::overwrite_existing);
    return dir;
}

void BM_AgendelaToFirstPaint(benchmark::State& state)
{
    const auto dir = programDirectoryWith(static_cast<std::size_t>(state.range(0)));
    const std::string program = (dir / "agendela_first_paint").string();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    for (auto _ : state) {
        pid_t child = 0;
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        if (::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the manager");
            break;
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the manager failed");
            break;
        }
    }
    std::filesystem::remove_all(dir);
}

} // namespace

BENCHMARK(BM_ReadContactFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillAndSortList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AgendelaToFirstPaint)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(10);

int main(int argc, char** argv)
{
    QApplication app(argc, argv); // the list's collation and models want an application
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
