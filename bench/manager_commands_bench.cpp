// The manager's commands on contact files of 10,000 and 100,000 contacts, driven through the
// real windows: the note lookup of a selection, and adding, modifying and removing a contact
// from the click on "Aceptar" (or the confirmation) to the list updated and the file synced
// and renamed into place. The *ListUpdate cases time only what the main window does to its
// list once the file holds the change.
#include "ContactFileGenerator.h"
#include "ContactForm.h"
#include "FrmAdd.h"
#include "FrmEdit.h"
#include "FrmPrincipal.h"
#include "MessageBox.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTreeView>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <memory>

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
            std::make_unique<FrmPrincipal>(FrmPrincipal::Environment{m_dir, m_dir / "autostart"});
        m_window->formLoad();
        m_window->show();
        QApplication::processEvents();
    }
    ~Manager()
    {
        m_window.reset();
        std::filesystem::remove_all(m_dir);
    }

    FrmPrincipal& window() { return *m_window; }

    void select(int position)
    {
        const QModelIndex index = m_window->contactList()->index(position, 0);
        m_window->listView()->setCurrentIndex(index);
    }
    // Rows spread over the list, so that the lookups reach lines all over the file.
    int spreadRow(std::int64_t iteration) const
    {
        const auto rows = m_window->contactList()->rowCount();
        return static_cast<int>((iteration * 7919) % rows);
    }
    template <typename Form> Form* open(const char* command)
    {
        m_window->findChild<QAction*>(command)->trigger();
        return m_window->findChild<Form*>();
    }
    // The view lays out its rows on the next pass of the event loop: part of the update.
    static void settle() { QApplication::processEvents(); }
    static void dropClosedDialogs()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

private:
    std::filesystem::path m_dir;
    std::unique_ptr<FrmPrincipal> m_window;
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
        auto* form = manager.open<FrmAdd>("mnuadd");
        form->setTxt(0, QStringLiteral("Añadido %1").arg(++added));
        form->setTxt(7, QStringLiteral("nota"));
        form->cmbdia()->setCurrentIndex(4);
        form->cmbmes()->setCurrentIndex(2);
        state.ResumeTiming();
        form->cmdaceptar()->click();
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
        auto* form = manager.open<FrmEdit>("mnumodi");
        form->setTxt(2, QString::number(i % 90));
        state.ResumeTiming();
        form->cmdaceptar()->click();
        Manager::settle();
        state.PauseTiming();
        const bool stored = !form->isVisible();
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

ContactListModel::Row newRow(int n)
{
    return {QStringLiteral("Fila %1").arg(n), "", "30", "05/03", "", "", ""};
}

void BM_AddListUpdate(benchmark::State& state)
{
    Manager manager(contactsOf(state));
    int n = 0;
    for (auto _ : state) {
        manager.window().showAddedContact(newRow(++n), QString());
        Manager::settle();
    }
}

void BM_ModifyListUpdate(benchmark::State& state)
{
    Manager manager(contactsOf(state));
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const int row = manager.spreadRow(++n);
        state.ResumeTiming();
        manager.window().showReplacedContact(row, 1, newRow(n));
        Manager::settle();
    }
}

void BM_RemoveListUpdate(benchmark::State& state)
{
    Manager manager(contactsOf(state));
    std::int64_t n = 0;
    for (auto _ : state) {
        manager.window().showRemovedContact(manager.spreadRow(++n), 1);
        Manager::settle();
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

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
