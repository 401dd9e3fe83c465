#include "ApplicationSetUp.h"
#include "AutostartEntry.h"
#include "BringToFront.h"
#include "FontConfigWarmUp.h"
#include "Geometry.h"
#include "LaterStarts.h"
#include "MainWindow.h"
#include "ProgramDirectory.h"
#include "SingleInstance.h"
#include "StartupContacts.h"

#include <QApplication>
#include <cstdlib>

namespace {

// The reminder starts the manager minimized by setting this for the first show.
constexpr const char* kStartMinimizedVariable = "TORTAVELA_START_MINIMIZED";
// A copy started a moment ago may not listen yet; one that never answers is not waited for long.
constexpr std::chrono::milliseconds kPatienceWithTheRunningCopy(2000);

} // namespace

int main(int argc, char* argv[])
{
    const auto programDir = platform::programDirectory();
    // A second copy brings the first one's window to the front and ends before it shows
    // anything of its own.
    const auto instance = platform::SingleInstance::acquire(programDir, "Agendela");
    if (instance.anotherIsRunning() &&
        platform::callRunningCopy(instance.lockFile(), kPatienceWithTheRunningCopy, [&] {
            return platform::lockIsHeld(instance.lockFile());
        }) != platform::CallOutcome::Stranger)
        return 0;
    // At once, so that a later start finds this copy listening from the moment it holds the lock.
    auto laterStarts = platform::LaterStarts::listen(instance.lockFile());

    const char* minimized = std::getenv(kStartMinimizedVariable);
    const bool startMinimized = minimized && *minimized && std::string_view(minimized) != "0";
    ::unsetenv(kStartMinimizedVariable);

    // The contacts are read and sorted while the application connects to the display.
    auto startupContacts = startReadingContacts(programDir);
    platform::FontConfigWarmUp fontConfig;

    QApplication app(argc, argv);
    fontConfig.wait();
    platform::setUpApplication(app, "Agendela");

    MainWindow window({programDir, platform::autostartDirectory()});
    window.startUp(startupContacts.get());
    platform::centreOnScreen(&window);
    if (laterStarts)
        platform::onLaterStart(&window, std::move(*laterStarts),
                               [&window] { platform::bringToFront(&window); });
    if (startMinimized)
        window.showMinimized();
    else
        window.show();
    return app.exec();
}
