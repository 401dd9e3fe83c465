#include "platform/gui/BringToFront.h"

#include <QDialog>
#include <QSocketNotifier>
#include <QWidget>

namespace platform {
namespace {

void raiseAndActivate(QWidget* window)
{
    window->raise();
    window->activateWindow();
}

class LaterStartWatch : public QObject {
public:
    LaterStartWatch(QObject* context, LaterStarts laterStarts, std::function<void()> comeForward)
        : QObject(context), m_laterStarts(std::move(laterStarts)),
          m_notifier(m_laterStarts.descriptor(), QSocketNotifier::Read, this),
          m_comeForward(std::move(comeForward))
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, [this] {
            if (m_laterStarts.takeCalls())
                m_comeForward();
        });
    }

private:
    LaterStarts m_laterStarts;
    QSocketNotifier m_notifier;
    std::function<void()> m_comeForward;
};

} // namespace

void bringToFront(QWidget* window)
{
    // Restored to what it was before it was minimized: a maximized window comes back maximized.
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    raiseAndActivate(window);
    // A dialog keeps the window behind it: it comes up over it, and takes the focus.
    for (QDialog* dialog : window->findChildren<QDialog*>()) {
        if (dialog->isVisible())
            raiseAndActivate(dialog);
    }
}

void onLaterStart(QObject* context, LaterStarts laterStarts, std::function<void()> comeForward)
{
    new LaterStartWatch(context, std::move(laterStarts), std::move(comeForward));
}

} // namespace platform
