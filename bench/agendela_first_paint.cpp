// The manager's start-up as the program does it, ending as soon as the contact list has been
// painted for the first time: the whole-process start-up figure of the benchmarks.
#include "bench/FirstPaintReporter.h"
#include "manager/MainWindow.h"
#include "manager/ManagerProgram.h"

#include <QTreeView>

using namespace manager;

int main(int argc, char* argv[])
{
    return runManager(argc, argv, [](MainWindow& window) {
        new FirstPaintReporter(window.listView()->viewport());
    });
}
