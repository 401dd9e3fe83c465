// The yardstick of the manager's start-up: an empty Qt main window of the manager's size, to
// its first paint.
#include "bench/FirstPaintReporter.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setFixedSize(722, 407);
    new FirstPaintReporter(&window);
    window.show();
    return app.exec();
}
