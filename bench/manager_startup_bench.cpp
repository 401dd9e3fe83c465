// The manager's start-up at 1,000, 10,000 and 100,000 contacts: reading the contact file,
// filling and sorting the list, and the whole process to its first painted list beside its
// yardsticks.
#include "bench/ContactFileGenerator.h"
#include "contacts/ContactStore.h"
#include "manager/ContactListModel.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace manager;

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

// A program directory holding a copy of the program and a generated contact file.
class ProgramDirectory {
public:
    ProgramDirectory(const std::filesystem::path& program, std::size_t contacts)
        : m_dir(std::filesystem::temp_directory_path() /
                ("tortavela-start-" + program.filename().string() + "-" + std::to_string(contacts)))
    {
        std::filesystem::create_directories(m_dir);
        std::ofstream(m_dir / "data.tvl", std::ios::binary | std::ios::trunc)
            << contactFile(contacts);
        std::filesystem::copy_file(program, m_dir / program.filename(),
                                   std::filesystem::copy_options::overwrite_existing);
        m_program = (m_dir / program.filename()).string();
    }
    ~ProgramDirectory() { std::filesystem::remove_all(m_dir); }
    const std::filesystem::path& path() const { return m_dir; }
    const std::string& program() const { return m_program; }

private:
    std::filesystem::path m_dir;
    std::string m_program;
};

// Starts the program with its standard output on a pipe and times it to its first byte there,
// the first paint; the rest of the run is waited for, untimed. Negative when it failed.
double millisecondsToFirstOutput(const std::string& program)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = ::posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    double elapsed = -1;
    char byte = 0;
    if (spawned == 0 && ::read(fds[0], &byte, 1) == 1)
        elapsed =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    ::close(fds[0]);
    int status = 0;
    if (spawned == 0)
        ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed : -1;
}

void BM_FirstPaint(benchmark::State& state, std::filesystem::path program, std::size_t contacts)
{
    const ProgramDirectory dir(program, contacts);
    ::setenv("XDG_CONFIG_HOME", (dir.path() / "config").c_str(), 1);
    for (auto _ : state) {
        const double ms = millisecondsToFirstOutput(dir.program());
        if (ms < 0) {
            state.SkipWithError("the program failed");
            break;
        }
        state.SetIterationTime(ms / 1000);
    }
}

std::filesystem::path besideThisProgram(const char* name)
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

void registerFirstPaint(const std::string& name, const std::filesystem::path& program,
                        std::size_t contacts)
{
    benchmark::RegisterBenchmark(name.c_str(), BM_FirstPaint, program, contacts)
        ->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(20);
}

} // namespace

BENCHMARK(BM_ReadContactFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillAndSortList)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The whole process to its first paint: the manager at each size and, at the size of a real
// book, its two yardsticks, an empty main window and a naive QTreeWidget. An older build's
// agendela_first_paint may stand beside them (TORTAVELA_BASELINE_FIRST_PAINT). Run with
// --benchmark_repetitions=N --benchmark_enable_random_interleaving=true so that the programs
// take turns and share the machine's load alike. On a display when DISPLAY is set, else
// offscreen.
int main(int argc, char** argv)
{
    if (!std::getenv("DISPLAY"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv); // the list's collation and models want an application
    for (std::size_t contacts : {1000, 10000, 100000}) {
        registerFirstPaint("BM_FirstPaint/Agendela/" + std::to_string(contacts),
                           besideThisProgram("agendela_first_paint"), contacts);
        if (const char* baseline = std::getenv("TORTAVELA_BASELINE_FIRST_PAINT"))
            registerFirstPaint("BM_FirstPaint/Baseline/" + std::to_string(contacts), baseline,
                               contacts);
    }
    registerFirstPaint("BM_FirstPaint/EmptyMainWindow", besideThisProgram("empty_main_window"),
                       1000);
    registerFirstPaint("BM_FirstPaint/NaiveTreeWidget/1000", besideThisProgram("naive_tree_widget"),
                       1000);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
