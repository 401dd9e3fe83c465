// Peak memory and wall time of an import, file by file: hostile files within the size limit (a
// file of line feeds, one card of empty lines, one card of tiny properties, a 10 MB name, a
// file of empty cards, text to transliterate) and realistic ones (plain cards, in UTF-8 and in
// UTF-16, names to transliterate, cards with photos).
//
//   vcard_memory_bench [--window] [--timeout SECONDS] [--only PART-OF-A-FILE'S-NAME]
//
// Each file is written to a temporary directory and imported by a child process of its own
// (this program, started again with --child-import or --child-window FILE SECONDS), so that each
// peak resident size belongs to one file. Without --window the child times the library's path:
// the file read, every card mapped, the import planned and the preview's model made. With it,
// the child drives the manager's real windows offscreen instead: "Importar contactos..." from
// the menu entry to the preview shown and painted. A child still working after the timeout is
// killed.
#include "bench/VCardGenerator.h"
#include "contacts/Windows1252.h"
#include "exchange/CardImport.h"
#include "exchange/ImportPlan.h"
#include "exchange/VCardReader.h"
#include "manager/ImportPreview.h"
#include "manager/ImportPreviewModel.h"
#include "manager/MainWindow.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace manager;

extern char** environ;

namespace {

using namespace std::chrono;

const year_month_day kToday = 2026y / December / 8d;
constexpr std::size_t kMiB = 1024 * 1024;

// The peak resident size of this process's memory, VmHWM: getrusage's ru_maxrss would also
// count the parent's, which a child started by posix_spawn inherits through execve.
long peakKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:"))
            return std::atol(line.c_str() + 6);
    }
    return -1;
}

// ---- The files ----

struct Case {
    const char* name;
    std::function<std::string()> make;
};

std::string repeated(std::string_view piece, std::size_t count)
{
    std::string out;
    out.reserve(piece.size() * count);
    for (std::size_t i = 0; i < count; ++i)
        out.append(piece);
    return out;
}

const char* const kHead = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ana\r\nBDAY:1990-03-05\r\n";
const char* const kTail = "END:VCARD\r\n";

// A photo as address books write it: base64, folded at 75 bytes.
std::string photoCard(std::size_t number, std::size_t photoBytes)
{
    std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Contacto con foto " +
                       std::to_string(number) + "\r\nBDAY:1980-05-0" +
                       std::to_string(1 + number % 9) + "\r\nPHOTO;ENCODING=b;TYPE=JPEG:";
    std::size_t room = 75 - 26;
    for (std::size_t i = 0; i < photoBytes; ++i) {
        if (room == 0) {
            card += "\r\n ";
            room = 74;
        }
        card.push_back("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"[i % 64]);
        --room;
    }
    return card + "\r\nEND:VCARD\r\n";
}

std::vector<Case> cases()
{
    const std::size_t limit = exchange::kMaxVCardFileBytes;
    return {
        {"32 MiB of line feeds", [=] { return std::string(limit, '\n'); }},
        {"one card of 32 million empty lines",
         [] { return kHead + std::string(32'000'000, '\n') + kTail; }},
        {"one card of 8 million tiny properties",
         [] { return kHead + repeated("X:1\n", 8'000'000) + kTail; }},
        {"one card with a 10 MB name",
         [] {
             return "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + repeated("Ana Pérez ", 10'000'000 / 11) +
                    "\r\nBDAY:1990-03-05\r\n" + kTail;
         }},
        {"one card with a 10 MB N of 5 million parts",
         [] {
             return "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + repeated("a;", 5'000'000) +
                    "\r\nBDAY:1990-03-05\r\n" + kTail;
         }},
        {"1.5 million empty cards", [] { return repeated("BEGIN:VCARD\nEND:VCARD\n", 1'500'000); }},
        {"empty cards, as many as a file may hold",
         [] { return repeated("BEGIN:VCARD\nEND:VCARD\n", exchange::kMaxVCardCards); }},
        {"10,000 plain cards (realistic)", [] { return bench::generateVCards(10'000); }},
        {"plain cards, as many as a file may hold",
         [] { return bench::generateVCards(exchange::kMaxVCardCards); }},
        {"the same in UTF-16",
         [] { return bench::inUtf16(bench::generateVCards(exchange::kMaxVCardCards)); }},
        {"10,000 cards, names to transliterate (realistic)",
         [] { return bench::generateVCards(10'000, true); }},
        {"unique Thai names, up to the transliteration bound",
         [] {
             // Five letters each, none repeated: nothing that ICU read is read again.
             std::string out;
             for (std::size_t i = 0; i < exchange::kMostTransliterated / 5; ++i) {
                 std::string name;
                 for (std::size_t n = i, letter = 0; letter < 5; ++letter, n /= 46)
                     contacts::appendUtf8(name, U'\u0E01' + static_cast<char32_t>(n % 46));
                 out += "BEGIN:VCARD\r\nFN:" + name + "\r\nBDAY:--05-05\r\nEND:VCARD\r\n";
             }
             return out;
         }},
        {"Chinese to transliterate, 32 MB in one note",
         [=] {
             std::string note;
             for (char32_t c = 0x4E00; note.size() + 64 < limit; c = c == 0x9FA5 ? 0x4E00 : c + 1)
                 contacts::appendUtf8(note, c);
             return "BEGIN:VCARD\r\nFN:Ana\r\nNOTE:" + note + "\r\nEND:VCARD\r\n";
         }},
        {"1,500 cards with 16 KB photos (realistic)",
         [] {
             std::string out;
             for (std::size_t i = 0; i < 1'500; ++i)
                 out += photoCard(i, 16 * 1024);
             return out;
         }},
    };
}

// ---- The children ----

void report(long before, long peak, double milliseconds, long long cards, const std::string& error)
{
    std::printf("%ld %ld %.1f %lld %s\n", before, peak, milliseconds, cards,
                error.empty() ? "-" : "refused");
    std::fflush(stdout);
}

int importThroughLibrary(const char* path)
{
    const long before = peakKiB();
    const auto start = steady_clock::now();
    // As the manager's import does (ContactImport.cpp).
    exchange::VCardFile file = exchange::readVCardFile(path);
    const std::string error = file.error;
    long long cards = 0;
    if (error.empty()) {
        auto imported = exchange::importCards(file, kToday);
        file = {};
        ImportPreviewModel model(exchange::planImport(std::move(imported), {}, {}));
        cards = model.rowCount();
    }
    const double elapsed = duration<double, std::milli>(steady_clock::now() - start).count();
    report(before, peakKiB(), elapsed, cards, error);
    return 0;
}

int importThroughWindow(int argc, char** argv, const char* path)
{
    QApplication app(argc, argv);
    const std::filesystem::path dir = std::filesystem::path(path).parent_path() / "program";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "data.tvl", std::ios::binary | std::ios::trunc);
    platform::setFileChoiceHook([path](const platform::FileRequest&) { return QString(path); });
    // A refused file is told in a message box: answered at once.
    platform::setMessageAnswerHook([](const platform::MessageRequest&) { return QMessageBox::Ok; });
    MainWindow window(MainWindow::Environment{dir, dir / "autostart"});
    window.startUp();
    window.show();
    QApplication::processEvents();

    const long before = peakKiB();
    const auto start = steady_clock::now();
    window.findChild<QAction*>("mnuimportar")->trigger();
    auto* preview = window.findChild<ImportPreview*>();
    QApplication::processEvents();
    const double elapsed = duration<double, std::milli>(steady_clock::now() - start).count();
    report(before, peakKiB(), elapsed, preview ? preview->model()->rowCount() : 0,
           preview ? "" : "refused");
    platform::setFileChoiceHook({});
    std::filesystem::remove_all(dir);
    return 0;
}

// ---- The parent ----

struct Outcome {
    bool finished = false;
    long before = 0;
    long peak = 0;
    double milliseconds = 0;
    long long cards = 0;
    char status[16] = {};
};

Outcome runChild(const char* self, const char* mode, const std::string& file, int timeout)
{
    Outcome outcome;
    int fds[2];
    if (::pipe(fds) != 0)
        return outcome;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const std::string timeoutText = std::to_string(timeout);
    std::vector<char*> argv = {const_cast<char*>(self), const_cast<char*>(mode),
                               const_cast<char*>(file.c_str()),
                               const_cast<char*>(timeoutText.c_str()), nullptr};
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, self, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    if (spawned != 0) {
        ::close(fds[0]);
        return outcome;
    }
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    outcome.finished =
        WIFEXITED(status) && WEXITSTATUS(status) == 0 &&
        std::sscanf(text.c_str(), "%ld %ld %lf %lld %15s", &outcome.before, &outcome.peak,
                    &outcome.milliseconds, &outcome.cards, outcome.status) == 5;
    return outcome;
}

int runAll(bool window, int timeout, std::string_view only)
{
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("tortavela-vcard-memory-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::printf("%s path; peak resident size of the whole process; budget = 4 x file + 50 MiB\n",
                window ? "Window" : "Library");
    std::printf("%-48s %9s %8s %10s %10s %10s %10s\n", "File", "MiB", "cards", "before MiB",
                "peak MiB", "budget MiB", "time ms");
    for (const Case& c : cases()) {
        if (std::string_view(c.name).find(only) == std::string_view::npos)
            continue;
        const std::filesystem::path file = dir / "cards.vcf";
        std::size_t size = 0;
        {
            const std::string bytes = c.make();
            size = bytes.size();
            std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
        }
        const Outcome o = runChild("/proc/self/exe", window ? "--child-window" : "--child-import",
                                   file.string(), timeout);
        const double budget = 4.0 * static_cast<double>(size) / kMiB + 50;
        if (!o.finished) {
            std::printf("%-48s %9.1f %8s %10s %10s %10.0f %10s\n", c.name,
                        static_cast<double>(size) / kMiB, "-", "-", "-", budget,
                        ("over " + std::to_string(timeout) + " s").c_str());
            continue;
        }
        std::printf("%-48s %9.1f %8s %10.1f %10.1f %10.0f %10.0f\n", c.name,
                    static_cast<double>(size) / kMiB,
                    std::strcmp(o.status, "-") == 0 ? std::to_string(o.cards).c_str() : o.status,
                    o.before / 1024.0, o.peak / 1024.0, budget, o.milliseconds);
        std::fflush(stdout);
    }
    std::filesystem::remove_all(dir);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && (std::strcmp(argv[1], "--child-import") == 0 ||
                      std::strcmp(argv[1], "--child-window") == 0)) {
        ::alarm(static_cast<unsigned>(std::atoi(argv[3])));
        if (std::strcmp(argv[1], "--child-import") == 0)
            return importThroughLibrary(argv[2]);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return importThroughWindow(argc, argv, argv[2]);
    }
    bool window = false;
    int timeout = 120;
    std::string_view only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--window") == 0)
            window = true;
        else if (std::strcmp(argv[i], "--timeout") == 0 && i + 1 < argc)
            timeout = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = argv[++i];
    }
    return runAll(window, timeout, only);
}
