#include "ApplicationSetUp.h"
#include "AutostartEntry.h"
#include "Geometry.h"
#include "MainWindow.h"
#include "ProgramDirectory.h"
#include "SingleInstance.h"

#include <QApplication>
#include <cstdlib>

namespace {

// The reminder starts the manager minimized by setting this for the first show.
constexpr const char* kStartMinimizedVariable = "TORTAVELA_START_MINIMIZED";

} // namespace

int main(int argc, char* argv[])
{
    const auto programDir = platform::programDirectory();
    // A second copy ends before it shows anything; the first one is left alone.
    const auto instance = platform::SingleInstance::acquire(programDir, "Agendela");
    if (instance.anotherIsRunning())
        return 0;

    const char* minimized = std::getenv(kStartMinimizedVariable);
    const bool startMinimized = minimized && *minimized && std::string_view(minimized) != "0";
    ::unsetenv(kStartMinimizedVariable);

    QApplication app(argc, argv);
    platform::setUpApplication(app, "Agendela");

    MainWindow window({programDir, platform::autostartDirectory()});
    window.startUp();
    platform::centreOnScreen(&window);
    if (startMinimized)
        window.showMinimized();
    else
        window.show();
    return app.exec();
}
