#include "platform/gui/AfterFirstPaint.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>

namespace platform {
namespace {

// Long enough for a first window to be painted on a slow display, short enough to go unnoticed.
constexpr int kLatestMs = 250;

class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QObject* context, std::function<void()> work)
        : m_context(context), m_work(std::move(work))
    {
        qApp->installEventFilter(this);
        QTimer::singleShot(kLatestMs, this, &FirstPaintWatch::run);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // After the paint, not during it: the painted window reaches the screen first.
        if (event->type() == QEvent::Paint)
            QMetaObject::invokeMethod(this, &FirstPaintWatch::run, Qt::QueuedConnection);
        return false;
    }

private:
    void run()
    {
        if (m_done)
            return;
        m_done = true;
        qApp->removeEventFilter(this);
        if (m_context)
            m_work();
        deleteLater();
    }

    QPointer<QObject> m_context;
    std::function<void()> m_work;
    bool m_done = false;
};

} // namespace

void afterFirstPaint(QObject* context, std::function<void()> work)
{
    new FirstPaintWatch(context, std::move(work));
}

} // namespace platform
