// How long the windows take to show a value of extreme length, through the real windows
// (offscreen): a contact file value may legally run to the file's 64 MiB limit.
//
//   long_values_bench [--runs N] [--limit SECONDS] [CASE...]
//
// Each run of a case is a process of its own, killed after the limit; the median wall time of
// the runs is printed for each step the case times. A case is WHAT-SIZE, SIZE in bytes with an
// optional K or M, and "-oneword" for a value without a blank (Spanish words otherwise):
//   start-name     the manager started on a file with a contact of such a name, to its list
//                  painted
//   note           the manager: a click on the row of a contact with such a note, to the note
//                  box laid out and the window painted
//   today-name     the reminder's today window with such a name: made, shown, the name
//                  selected, its details read and shown, painted
//   upcoming-name  the reminder's upcoming window with such a name: made, shown and painted
//   modify-note, modify-name  "Modificar..." over a contact with such a note or name: the dialog
//                  made, then painted; the cursor to the end of the value, one character typed,
//                  then erased, each painted; "Aceptar" to the list updated and the file synced.
//                  The run fails when the file does not then hold the value whole.
//   import-name    "Importar contactos..." of a card with such a name: the file read, mapped and
//                  marked, the preview shown and painted
// Without a CASE, the cases of the README's table.
#include "manager/ContactDialog.h"
#include "manager/ContactListModel.h"
#include "manager/ImportPreview.h"
#include "manager/MainWindow.h"
#include "platform/Today.h"
#include "platform/gui/FileDialog.h"
#include "reminder/windows/ReminderSession.h"
#include "reminder/windows/ReminderWindows.h"
#include "reminder/windows/TodayWindow.h"
#include "reminder/windows/UpcomingWindow.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTreeView>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace reminder;

using namespace manager;

extern char** environ;

namespace {

constexpr char kTerminator = '\xA7';

// `bytes` of Spanish words in Windows-1252, or of one word.
std::string valueText(std::size_t bytes, bool oneWord)
{
    if (oneWord)
        return std::string(bytes, 'x');
    // Windows-1252, in octal escapes: ñ is \361, ú \372, ó \363, á \341, í \355.
    static const char* const kWords[] = {"cumplea\361os", "regalo",   "m\372sica", "ma\361ana",
                                         "canci\363n",    "\341rbol", "fiesta",    "Mar\355a"};
    std::string text;
    text.reserve(bytes + 16);
    for (std::size_t i = 0; text.size() < bytes; ++i) {
        text += kWords[(i * 5 + i / 8) % std::size(kWords)];
        text += ' ';
    }
    text.resize(bytes);
    return text;
}

std::string recordLine(const std::vector<std::string>& fields)
{
    std::string line;
    for (const std::string& field : fields)
        line += field + kTerminator;
    return line + "\r\n";
}

struct Case {
    std::string what;
    std::size_t bytes = 0;
    bool oneWord = false;
};

// "note-300K-oneword": a note of 300 KiB without a blank.
std::optional<Case> parseCase(std::string name)
{
    Case parsed;
    constexpr std::string_view kOneWord = "-oneword";
    if (name.ends_with(kOneWord)) {
        parsed.oneWord = true;
        name.resize(name.size() - kOneWord.size());
    }
    const std::size_t dash = name.rfind('-');
    if (dash == std::string::npos || dash + 1 == name.size())
        return std::nullopt;
    parsed.what = name.substr(0, dash);
    std::string size = name.substr(dash + 1);
    int shift = 0;
    if (size.back() == 'K' || size.back() == 'M') {
        shift = size.back() == 'K' ? 10 : 20;
        size.pop_back();
    }
    if (size.empty() || size.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    parsed.bytes = std::stoul(size) << shift;
    return parsed;
}

// A program directory of its own, removed afterwards.
class ProgramDir {
public:
    ProgramDir() : m_path(std::filesystem::temp_directory_path() / "tortavela-long-values")
    {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ProgramDir() { std::filesystem::remove_all(m_path); }
    const std::filesystem::path& path() const { return m_path; }
    void write(const char* name, const std::string& bytes) const
    {
        std::ofstream(m_path / name, std::ios::binary | std::ios::trunc) << bytes;
    }

private:
    std::filesystem::path m_path;
};

// Paints the whole window now, as the next screen update would.
void paint(QWidget* window)
{
    window->repaint();
    QApplication::processEvents();
}

void press(QWidget* input, Qt::Key key, Qt::KeyboardModifiers modifiers = {},
           const QString& text = {})
{
    QKeyEvent down(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent up(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(input, &down);
    QApplication::sendEvent(input, &up);
}

class Stopwatch {
public:
    Stopwatch() { m_timer.start(); }
    void report(const char* step)
    {
        std::printf("%s %.3f\n", step, static_cast<double>(m_timer.nsecsElapsed()) / 1e6);
        std::fflush(stdout);
        m_timer.restart();
    }

private:
    QElapsedTimer m_timer;
};

std::unique_ptr<MainWindow> startManager(const ProgramDir& dir)
{
    auto window =
        std::make_unique<MainWindow>(MainWindow::Environment{dir.path(), dir.path() / "autostart"});
    window->startUp();
    window->show();
    paint(window.get());
    return window;
}

// Selects the row of the contact with the longest line: the one that carries the value.
void selectLongContact(MainWindow& window)
{
    const ContactListModel& list = *window.contactList();
    int longest = 0;
    for (int row = 1; row < list.rowCount(); ++row) {
        if (list.contact(row).storedLine().size() > list.contact(longest).storedLine().size())
            longest = row;
    }
    window.listView()->setCurrentIndex(window.listIndex(longest));
}

int startManagerOn(const Case& shown)
{
    ProgramDir dir;
    const std::string name = valueText(shown.bytes, shown.oneWord);
    dir.write("data.tvl", recordLine({"Ana", "", "30", "05/03", "", "", "", "corta"}) +
                              recordLine({name, "", "41", "06/03", "", "", "", "nota"}));
    Stopwatch watch;
    auto window = startManager(dir);
    watch.report("shown");
    return window->contactCount() == 2 ? 0 : 1;
}

int showNote(const Case& shown)
{
    ProgramDir dir;
    const std::string note = valueText(shown.bytes, shown.oneWord);
    dir.write("data.tvl", recordLine({"Ana", "", "30", "05/03", "", "", "", "corta"}) +
                              recordLine({"Bea", "", "41", "06/03", "", "", "", note}));
    auto window = startManager(dir);
    Stopwatch watch;
    selectLongContact(*window);
    paint(window.get());
    watch.report("shown");
    return window->note().size() == static_cast<qsizetype>(note.size()) ? 0 : 1;
}

int modifyContact(const Case& modified, bool inNote)
{
    ProgramDir dir;
    const std::string value = valueText(modified.bytes, modified.oneWord);
    dir.write("data.tvl", recordLine({"Ana", "", "30", "05/03", "", "", "", "corta"}) +
                              recordLine({inNote ? "Bea" : value, "", "41", "06/03", "", "", "",
                                          inNote ? value : "nota"}));
    auto window = startManager(dir);
    selectLongContact(*window);
    paint(window.get());

    Stopwatch watch;
    window->findChild<QAction*>("mnumodi")->trigger();
    const QPointer<ContactDialog> dialog = window->findChild<ContactDialog*>();
    if (!dialog)
        return 1;
    watch.report("made");
    paint(dialog);
    watch.report("painted");

    const auto field = inNote ? contacts::ContactField::Note : contacts::ContactField::Name;
    QWidget* input = dialog->fieldInput(field);
    input->setFocus();
    press(input, Qt::Key_End, Qt::ControlModifier);
    press(input, Qt::Key_End);
    paint(dialog);
    watch.report("end");
    press(input, Qt::Key_X, {}, QStringLiteral("x"));
    paint(dialog);
    watch.report("typed");
    press(input, Qt::Key_Backspace);
    paint(dialog);
    watch.report("erased");

    dialog->acceptButton()->click();
    paint(window.get());
    watch.report("stored");
    std::ifstream file(dir.path() / "data.tvl", std::ios::binary);
    const std::string stored((std::istreambuf_iterator<char>(file)), {});
    return !dialog && stored.find(value) != std::string::npos ? 0 : 1;
}

int showReminder(const Case& shown, bool today)
{
    ProgramDir dir;
    const std::string name = valueText(shown.bytes, shown.oneWord);
    dir.write("data.tvl",
              recordLine({name, "alias", "30", "1/1", "555", "Calle 1", "a@b.es", "nota"}));
    ReminderSession session(dir.path(), platform::localToday(), {[] {}, [] {}});
    reminder::DueBirthdays due;
    (today ? due.today : due.inTwoDays).push_back(name);

    Stopwatch watch;
    ReminderWindows windows(session, due);
    windows.show();
    QWidget* window =
        today ? static_cast<QWidget*>(windows.todayWindow()) : windows.upcomingWindow();
    if (today)
        window->findChild<QListWidget*>("lstcumple")->setCurrentRow(0);
    paint(window);
    watch.report("shown");
    return 0;
}

int showImport(const Case& imported)
{
    ProgramDir dir;
    dir.write("data.tvl", recordLine({"Ana", "", "30", "05/03", "", "", "", "corta"}));
    std::string name = valueText(imported.bytes, imported.oneWord);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) >= 0x80)
            c = 'n'; // the card is UTF-8: plain letters stand in for the accented ones
    }
    dir.write("tarjetas.vcf",
              "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + name +
                  "\r\nBDAY:1990-03-05\r\nEND:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bea\r\n"
                  "BDAY:1991-04-06\r\nEND:VCARD\r\n");
    auto window = startManager(dir);
    platform::setFileChoiceHook([&dir](const platform::FileRequest&) {
        return QString::fromStdString((dir.path() / "tarjetas.vcf").string());
    });

    Stopwatch watch;
    window->findChild<QAction*>("mnuimportar")->trigger();
    auto* preview = window->findChild<ImportPreview*>();
    if (!preview)
        return 1;
    paint(preview);
    watch.report("shown");
    platform::setFileChoiceHook({});
    return 0;
}

int runCase(const std::string& name)
{
    const auto parsed = parseCase(name);
    if (parsed && parsed->what == "start-name")
        return startManagerOn(*parsed);
    if (parsed && parsed->what == "note")
        return showNote(*parsed);
    if (parsed && parsed->what == "today-name")
        return showReminder(*parsed, true);
    if (parsed && parsed->what == "upcoming-name")
        return showReminder(*parsed, false);
    if (parsed && parsed->what == "modify-note")
        return modifyContact(*parsed, true);
    if (parsed && parsed->what == "modify-name")
        return modifyContact(*parsed, false);
    if (parsed && parsed->what == "import-name")
        return showImport(*parsed);
    std::fprintf(stderr, "unknown case %s\n", name.c_str());
    return 2;
}

struct Run {
    enum class Outcome { Done, Failed, Killed };
    Outcome outcome = Outcome::Failed;
    std::vector<std::pair<std::string, double>> steps; // those done before it ended
};

// One run of a case in a process of its own.
Run runChild(const std::string& name, int limitSeconds)
{
    Run run;
    int fds[2];
    if (::pipe(fds) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string self = "/proc/self/exe";
    std::string one = "--one";
    std::string caseName = name;
    std::string limit = std::to_string(limitSeconds);
    char* argv[] = {self.data(), one.data(), caseName.data(), limit.data(), nullptr};
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, self.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    std::string output;
    if (spawned == 0) {
        char buffer[512];
        ssize_t got = 0;
        while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0)
            output.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fds[0]);
    int status = 0;
    if (spawned == 0 && ::waitpid(pid, &status, 0) == pid) {
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM)
            run.outcome = Run::Outcome::Killed;
        else if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
            run.outcome = Run::Outcome::Done;
    }
    std::size_t at = 0;
    while (at < output.size()) {
        const std::size_t end = output.find('\n', at);
        const std::string line = output.substr(at, end - at);
        at = end == std::string::npos ? output.size() : end + 1;
        const std::size_t blank = line.find(' ');
        if (blank != std::string::npos)
            run.steps.emplace_back(line.substr(0, blank), std::stod(line.substr(blank + 1)));
    }
    return run;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void runAndReport(const std::string& name, int runs, int limitSeconds)
{
    std::map<std::string, std::vector<double>> times;
    std::vector<std::string> order;
    Run::Outcome outcome = Run::Outcome::Done;
    int done = 0;
    while (done < runs && outcome == Run::Outcome::Done) {
        const Run run = runChild(name, limitSeconds);
        ++done;
        outcome = run.outcome;
        for (const auto& [step, ms] : run.steps) {
            if (!times.contains(step))
                order.push_back(step);
            times[step].push_back(ms);
        }
    }
    for (const std::string& step : order)
        std::printf("%-24s %-8s %10.2f ms (median of %zu)\n", name.c_str(), step.c_str(),
                    median(times[step]), times[step].size());
    if (outcome == Run::Outcome::Killed)
        std::printf("%-24s run %d killed after %d s, in the step after those\n", name.c_str(), done,
                    limitSeconds);
    else if (outcome == Run::Outcome::Failed)
        std::printf("%-24s run %d failed: the value was not kept whole\n", name.c_str(), done);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc == 4 && std::strcmp(argv[1], "--one") == 0) {
        // A frozen window never answers: the run is killed at the limit.
        ::alarm(static_cast<unsigned>(std::stoi(argv[3])));
        QApplication app(argc, argv);
        return runCase(argv[2]);
    }
    int runs = 5;
    int limitSeconds = 120;
    std::vector<std::string> cases;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc)
            runs = std::stoi(argv[++i]);
        else if (arg == "--limit" && i + 1 < argc)
            limitSeconds = std::stoi(argv[++i]);
        else
            cases.push_back(arg);
    }
    if (cases.empty())
        cases = {"start-name-100",   "start-name-10M",  "note-100",
                 "note-300K",        "note-1M",         "note-10M",
                 "note-1M-oneword",  "today-name-100",  "today-name-2M",
                 "upcoming-name-2M", "modify-note-10M", "modify-name-10M",
                 "import-name-100",  "import-name-10M", "import-name-10M-oneword"};
    for (const std::string& name : cases)
        runAndReport(name, runs, limitSeconds);
    return 0;
}
