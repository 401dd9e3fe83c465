// "Importar contactos..." at the size of a large address book, through the manager's real
// windows: a .vcf of 10,000 cards chosen in the file dialog (answered by its hook), read, mapped
// and marked, the preview shown and painted, "Importar" pressed, the contacts written in one
// synced rewrite and the list updated with the first of them selected. Into an empty book, and
// into a book of 10,000 other contacts.
#include "bench/ContactFileGenerator.h"
#include "bench/VCardGenerator.h"
#include "manager/ContactListModel.h"
#include "manager/ImportPreview.h"
#include "manager/ImportPreviewModel.h"
#include "manager/MainWindow.h"
#include "platform/gui/FileDialog.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>
#include <memory>

using namespace manager;

namespace {

constexpr std::size_t kCards = 10'000;

// A program directory on the machine's disk with a generated contact file, the .vcf beside it.
class ImportSession {
public:
    explicit ImportSession(std::size_t stored)
        : m_dir(std::filesystem::temp_directory_path() /
                ("tortavela-import-" + std::to_string(stored))),
          m_stored(stored)
    {
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        std::ofstream(m_dir / "cards.vcf", std::ios::binary) << bench::generateVCards(kCards);
        platform::setFileChoiceHook([this](const platform::FileRequest&) {
            return QString::fromStdString((m_dir / "cards.vcf").string());
        });
    }
    ~ImportSession()
    {
        m_window.reset();
        platform::setFileChoiceHook({});
        std::filesystem::remove_all(m_dir);
    }

    // A fresh main window on the stored contacts alone.
    void start()
    {
        m_window.reset();
        std::ofstream(m_dir / "data.tvl", std::ios::binary | std::ios::trunc)
            << (m_stored ? bench::generateContactFile({.contacts = m_stored}) : std::string());
        m_window =
            std::make_unique<MainWindow>(MainWindow::Environment{m_dir, m_dir / "autostart"});
        m_window->startUp();
        m_window->show();
        QApplication::processEvents();
    }

    // The preview made and painted.
    ImportPreview* preview()
    {
        m_window->findChild<QAction*>("mnuimportar")->trigger();
        auto* preview = m_window->findChild<ImportPreview*>();
        QApplication::processEvents();
        return preview;
    }

    // The generated book may hold a few of the cards' names: those are not imported.
    bool imported(int chosen) const
    {
        return chosen > static_cast<int>(kCards) - 10 &&
               m_window->contactCount() == static_cast<int>(m_stored) + chosen &&
               m_window->selectedRow().has_value();
    }

private:
    std::filesystem::path m_dir;
    std::size_t m_stored;
    std::unique_ptr<MainWindow> m_window;
};

void BM_PreviewAndImport(benchmark::State& state)
{
    ImportSession session(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        session.start();
        state.ResumeTiming();
        ImportPreview* preview = session.preview();
        if (!preview) {
            state.SkipWithError("no preview");
            break;
        }
        const int chosen = preview->model()->counts().newChosen;
        preview->importButton()->click();
        QApplication::processEvents();
        state.PauseTiming();
        const bool imported = session.imported(chosen);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
        if (!imported) {
            state.SkipWithError("the cards were not all imported");
            break;
        }
    }
}
BENCHMARK(BM_PreviewAndImport)
    ->ArgName("stored")
    ->Arg(0)
    ->Arg(10'000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
