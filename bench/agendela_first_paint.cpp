// The manager's start-up as the program does it, ending as soon as the contact list has been
// painted for the first time: the whole-process start-up figure of the benchmarks.
#include "ApplicationSetUp.h"
#include "AutostartEntry.h"
#include "FirstPaintReporter.h"
#include "MainWindow.h"
#include "ProgramDirectory.h"

#include <QApplication>
#include <QTreeView>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    platform::setUpApplication(app, "Agendela");
    MainWindow window({platform::programDirectory(), platform::autostartDirectory()});
    window.startUp();
    new FirstPaintReporter(window.listView()->viewport());
    window.show();
    return app.exec();
}
