// The manager's commands on contact files of 10,000 and 100,000 contacts, driven through the
// real windows: the note lookup of a selection, and adding, modifying and removing a contact
// from the click on "Aceptar" (or the confirmation) to the list updated and the file synced
// and renamed into place. The *ListUpdate cases time only what the main window does to its
// list once the file holds the change. The list's own tools: a header click ordering it, and
// letters typed into the search box.
#include "bench/ContactFileGenerator.h"
#include "manager/ContactDialog.h"
#include "manager/ContactListModel.h"
#include "manager/MainWindow.h"
#include "platform/gui/MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeView>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace manager;

namespace {

// A program directory on the same disk as the user's, holding a generated contact file, and
// the manager's main window started on it.
class Manager {
public:
    explicit Manager(std::size_t contacts)
        : m_dir(std::filesystem::temp_directory_path() /
                ("tortavela-commands-" + std::to_string(contacts)))
    {
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        std::ofstream(m_dir / "data.tvl", std::ios::binary)
            << bench::generateContactFile({.contacts = contacts});
        m_window =
            std::make_unique<MainWindow>(MainWindow::Environment{m_dir, m_dir / "autostart"});
        m_window->startUp();
        m_window->show();
        QApplication::processEvents();
    }
    ~Manager()
    {
        m_window.reset();
        std::filesystem::remove_all(m_dir);
    }

    MainWindow& window() { return *m_window; }

    void select(int position)
    {
        const QModelIndex index = m_window->listIndex(position);
        m_window->listView()->setCurrentIndex(index);
    }
    // Rows spread over the list, so that the lookups reach lines all over the file.
    int spreadRow(std::int64_t iteration) const
    {
        const auto rows = m_window->contactList()->rowCount();
        return static_cast<int>((iteration * 7919) % rows);
    }
    ContactDialog* open(const char* command)
    {
        m_window->findChild<QAction*>(command)->trigger();
        return m_window->findChild<ContactDialog*>();
    }
    // The view lays out its rows on the next pass of the event loop: part of the update.
    static void settle() { QApplication::processEvents(); }
    static void dropClosedDialogs()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    std::filesystem::path m_dir;
    std::unique_ptr<MainWindow> m_window;
};

std::size_t contactsOf(const benchmark::State& state)
{
    return static_cast<std::size_t>(state.range(0));
}

void BM_NoteLookup(benchmark::State& state)
{
    Manager manager(contactsOf(state));
    std::int64_t i = 0;
    for (auto _ : state) {
        manager.select(manager.spreadRow(++i));
        benchmark::DoNotOptimize(manager.window().note());
    }
}

void BM_AddContact(benchmark::State& state)
{
    Manager manager(contactsOf(state));
    int added = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto* form = manager.open("mnuadd");
        form->setFieldText(contacts::ContactField::Name, QStringLiteral("Añadido %1").arg(++added));
        form->setFieldText(contacts::ContactField::Note, QStringLiteral("nota"));
        form->dayList()->setCurrentIndex(4);
        form->monthList()->setCurrentIndex(2);
        state.ResumeTiming();
        form->acceptButton()->click();
        Manager::settle();
        state.PauseTiming();
        Manager::dropClosedDialogs();
        state.ResumeTiming();
    }
    if (manager.window().contactCount() != static_cast<int>(contactsOf(state)) + added)
        state.SkipWithError("an addition was not stored");
}

void BM_ModifyContact(benchmark::State& state)
{
    Manager manager(contactsOf(state));
    std::int64_t i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        manager.select(manager.spreadRow(++i));
        const QPointer<ContactDialog> form = manager.open("mnumodi");
        form->setFieldText(contacts::ContactField::Age, QString::number(i % 90));
        state.ResumeTiming();
        form->acceptButton()->click();
        Manager::settle();
        state.PauseTiming();
        // A stored change closes the dialog, which may be gone already.
        const bool stored = !form || !form->isVisible();
        Manager::dropClosedDialogs();
        state.ResumeTiming();
        if (!stored) {
            state.SkipWithError("a modification was refused");
            break;
        }
    }
}

void BM_RemoveContact(benchmark::State& state)
{
    Manager manager(contactsOf(state));
    platform::setMessageAnswerHook([](const platform::MessageRequest&) { return QMessageBox::Ok; });
    std::int64_t i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        manager.select(manager.spreadRow(++i));
        state.ResumeTiming();
        manager.window().findChild<QAction*>("mnudel")->trigger();
        Manager::settle();
    }
    platform::setMessageAnswerHook({});
    if (manager.window().contactCount() != static_cast<int>(contactsOf(state) - state.iterations()))
        state.SkipWithError("a removal was not done");
}

// A contact as the store answers it once written.
contacts::Contact newContact(int n)
{
    const std::string name = "Fila " + std::to_string(n);
    return *contacts::Contact::fromStoredLine(
        name + "\xA7\xA7\x33\x30\xA7\x30\x35/03\xA7\xA7\xA7\xA7\xA7");
}

// What the main window does with the store's answer: the list updated and laid out.
void showWritten(Manager& manager, MainWindow::Command command, std::vector<std::string> removed,
                 std::vector<contacts::Contact> added)
{
    contacts::ChangeAnswer answer;
    answer.outcome = contacts::ChangeAnswer::Outcome::Written;
    answer.removedLines = std::move(removed);
    answer.addedContacts = std::move(added);
    manager.window().showAnswer(command, std::move(answer), nullptr);
    Manager::settle();
}

std::string storedLineAt(Manager& manager, int row)
{
    return std::string(manager.window().contactList()->contact(row).storedLine());
}

void BM_AddListUpdate(benchmark::State& state)
{
    Manager manager(contactsOf(state));
    int n = 0;
    for (auto _ : state)
        showWritten(manager, MainWindow::Command::Add, {}, {newContact(++n)});
}

void BM_ModifyListUpdate(benchmark::State& state)
{
    Manager manager(contactsOf(state));
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string removed = storedLineAt(manager, manager.spreadRow(++n));
        state.ResumeTiming();
        showWritten(manager, MainWindow::Command::Modify, {std::move(removed)}, {newContact(n)});
    }
}

void BM_RemoveListUpdate(benchmark::State& state)
{
    Manager manager(contactsOf(state));
    std::int64_t n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::string removed = storedLineAt(manager, manager.spreadRow(++n));
        state.ResumeTiming();
        showWritten(manager, MainWindow::Command::Remove, {std::move(removed)}, {});
    }
}

// A click on a header, to the list ordered by that column and laid out; by name again, untimed.
void orderBy(benchmark::State& state, int column)
{
    Manager manager(contactsOf(state));
    QTreeView* list = manager.window().listView();
    for (auto _ : state) {
        list->sortByColumn(column, Qt::AscendingOrder);
        Manager::settle();
        state.PauseTiming();
        list->sortByColumn(0, Qt::AscendingOrder);
        Manager::settle();
        state.ResumeTiming();
    }
}

void BM_OrderByBirthday(benchmark::State& state)
{
    orderBy(state, 3);
}

void BM_OrderByAlias(benchmark::State& state)
{
    orderBy(state, 1);
}

// Three letters typed into the search box, each one filtering the whole book and laying out the
// list; emptied again, untimed.
void BM_SearchTyped(benchmark::State& state)
{
    Manager manager(contactsOf(state));
    QLineEdit* box = manager.window().searchBox();
    for (auto _ : state) {
        for (const char* typed : {"m", "ma", "mar"}) {
            box->setText(QString::fromUtf8(typed));
            Manager::settle();
        }
        state.PauseTiming();
        box->clear();
        Manager::settle();
        state.ResumeTiming();
    }
}

} // namespace

// Each change rewrites and syncs the whole file, so a few dozen runs give steady figures.
#define MANAGER_COMMAND(name)                                                                      \
    BENCHMARK(name)                                                                                \
        ->Arg(10000)                                                                               \
        ->Arg(100000)                                                                              \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->UseRealTime()                                                                            \
        ->Iterations(40)
MANAGER_COMMAND(BM_NoteLookup);
MANAGER_COMMAND(BM_AddContact);
MANAGER_COMMAND(BM_ModifyContact);
MANAGER_COMMAND(BM_RemoveContact);
MANAGER_COMMAND(BM_AddListUpdate);
MANAGER_COMMAND(BM_ModifyListUpdate);
MANAGER_COMMAND(BM_RemoveListUpdate);
MANAGER_COMMAND(BM_OrderByBirthday);
MANAGER_COMMAND(BM_SearchTyped);
// Collating text is slower: fewer runs.
BENCHMARK(BM_OrderByAlias)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5);

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
