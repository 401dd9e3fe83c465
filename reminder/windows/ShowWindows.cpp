// The windows library's one entry point, called by Avisela once its scan found names to show.
#include "platform/Programs.h"
#include "platform/gui/ApplicationSetUp.h"
#include "platform/gui/BringToFront.h"
#include "reminder/core/AviselaWindowsAbi.h"
#include "reminder/core/WindowsHandOver.h"
#include "reminder/windows/MissedWindow.h"
#include "reminder/windows/ReminderSession.h"
#include "reminder/windows/ReminderWindows.h"
#include "reminder/windows/TodayWindow.h"
#include "reminder/windows/UpcomingWindow.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <vector>

using namespace reminder;

namespace {

// Tells the caller once every shown window has been painted the first time.
class PaintWatch : public QObject {
public:
    PaintWatch(std::vector<QWidget*> windows, int (*onPainted)(void*), void* context)
        : m_waiting(std::move(windows)), m_onPainted(onPainted), m_context(context)
    {
        for (QWidget* window : m_waiting)
            window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && std::erase(m_waiting, watched) > 0) {
            watched->removeEventFilter(this);
            // The paint reaches the screen when the event returns: answer after it.
            if (m_waiting.empty())
                QTimer::singleShot(0, this, [this] {
                    if (m_onPainted(m_context) != 0)
                        QCoreApplication::exit(0);
                });
        }
        return false;
    }

private:
    std::vector<QWidget*> m_waiting;
    int (*m_onPainted)(void*);
    void* m_context;
};

} // namespace

extern "C" __attribute__((visibility("default"))) int
avisela_show_windows(const AviselaWindowsRequest* request)
{
    if (!request || request->abiVersion != AVISELA_WINDOWS_ABI_VERSION)
        return 1;
    int argc = request->argc;
    QApplication app(argc, request->argv);
    // The session decides when the program ends, by the two windows' closing rules.
    QApplication::setQuitOnLastWindowClosed(false);
    platform::setUpApplication(app, platform::kReminderName);

    const std::filesystem::path programDir(request->programDir);
    ReminderSession session(programDir, reminder::dateOf(*request),
                            ReminderSession::programActions(programDir),
                            reminder::ageDaysOf(*request));
    ReminderWindows windows(session, reminder::dueBirthdaysOf(*request),
                            reminder::caughtUpOf(*request));
    windows.show();
    if (request->laterStarts >= 0)
        platform::onLaterStart(&app, platform::LaterStarts(request->laterStarts),
                               [&windows] { windows.bringToFront(); });

    std::unique_ptr<PaintWatch> paintWatch;
    if (request->onPainted) {
        std::vector<QWidget*> shown;
        for (QWidget* window : {static_cast<QWidget*>(windows.upcomingWindow()),
                                static_cast<QWidget*>(windows.missedWindow()),
                                static_cast<QWidget*>(windows.todayWindow())})
            if (window)
                shown.push_back(window);
        paintWatch = std::make_unique<PaintWatch>(std::move(shown), request->onPainted,
                                                  request->onPaintedContext);
    }
    return QApplication::exec();
}
