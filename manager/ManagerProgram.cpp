#include "manager/ManagerProgram.h"

#include "manager/MainWindow.h"
#include "manager/StartupContacts.h"
#include "manager/WindowMemory.h"
#include "platform/AutostartEntry.h"
#include "platform/LaterStarts.h"
#include "platform/ProgramDirectory.h"
#include "platform/Programs.h"
#include "platform/SingleStart.h"
#include "platform/Today.h"
#include "platform/gui/ApplicationSetUp.h"
#include "platform/gui/BringToFront.h"
#include "platform/gui/FontConfigWarmUp.h"
#include "platform/gui/Geometry.h"

#include <QApplication>
#include <cstdlib>
#include <string_view>

namespace manager {

namespace {

bool takeStartMinimizedRequest()
{
    const char* minimized = std::getenv(platform::kStartMinimizedVariable);
    const bool requested = minimized && *minimized && std::string_view(minimized) != "0";
    // Only for this start: a program the manager starts must not come up minimized too.
    ::unsetenv(platform::kStartMinimizedVariable);
    return requested;
}

} // namespace

int runManager(int argc, char* argv[], const std::function<void(MainWindow&)>& beforeShow)
{
    const auto programDir = platform::programDirectory();
    const auto instance = platform::startAsTheOnlyCopy(programDir, platform::kManagerName);
    if (!instance)
        return 0;
    // At once, so that a later start finds this copy listening from the moment it holds the lock.
    auto laterStarts = platform::LaterStarts::listen(instance->lockFile());
    const bool startMinimized = takeStartMinimizedRequest();

    // The contacts are read and sorted while the application connects to the display.
    auto startupContacts = startReadingContacts(programDir);
    platform::FontConfigWarmUp fontConfig;

    QApplication app(argc, argv);
    fontConfig.wait();
    platform::setUpApplication(app, platform::kManagerName);

    MainWindow window({.programDir = programDir,
                       .autostartDir = platform::autostartDirectory(),
                       .today = platform::localToday,
                       .systemctl = "systemctl",
                       .windowMemoryFile = windowMemoryFile()});
    window.startUp(startupContacts.get());
    platform::centreOnScreen(&window);
    if (laterStarts)
        platform::onLaterStart(&window, std::move(*laterStarts),
                               [&window] { platform::bringToFront(&window); });
    if (beforeShow)
        beforeShow(window);
    if (startMinimized)
        window.showMinimized();
    else
        window.show();
    return app.exec();
}

} // namespace manager
