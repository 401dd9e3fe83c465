// The manager's start-up as the program does it, ending as soon as the contact list has been
// painted for the first time: the whole-process start-up figure of the benchmarks.
#include "ApplicationSetUp.h"
#include "AutostartEntry.h"
#include "MainWindow.h"
#include "ProgramDirectory.h"

#include <QApplication>
#include <QTreeView>

namespace {

class QuitAfterPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    platform::setUpApplication(app, "Agendela");
    MainWindow window({platform::programDirectory(), platform::autostartDirectory()});
    window.startUp();
    QuitAfterPaint quitter;
    window.listView()->viewport()->installEventFilter(&quitter);
    window.show();
    return app.exec();
}
