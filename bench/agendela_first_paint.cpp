// The manager's start-up as the program does it, ending as soon as the contact list has been
// painted for the first time: the whole-process start-up figure of the benchmarks.
#include "FirstPaintReporter.h"
#include "MainWindow.h"
#include "ManagerProgram.h"

#include <QTreeView>

using namespace manager;

int main(int argc, char* argv[])
{
    return runManager(argc, argv, [](MainWindow& window) {
        new FirstPaintReporter(window.listView()->viewport());
    });
}
