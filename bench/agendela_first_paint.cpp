// The manager's start-up as the program does it, ending as soon as the contact list has been
// painted for the first time: the whole-process start-up figure of the benchmarks.
#include "ApplicationSetUp.h"
#include "AutostartEntry.h"
#include "FirstPaintReporter.h"
#include "FontConfigWarmUp.h"
#include "MainWindow.h"
#include "ProgramDirectory.h"
#include "StartupContacts.h"

#include <QApplication>
#include <QTreeView>

int main(int argc, char* argv[])
{
    const auto programDir = platform::programDirectory();
    auto startupContacts = startReadingContacts(programDir);
    platform::FontConfigWarmUp fontConfig;
    QApplication app(argc, argv);
    fontConfig.wait();
    platform::setUpApplication(app, "Agendela");
    MainWindow window({programDir, platform::autostartDirectory()});
    window.startUp(startupContacts.get());
    new FirstPaintReporter(window.listView()->viewport());
    window.show();
    return app.exec();
}
