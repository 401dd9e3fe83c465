#pragma once

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QWidget>
#include <unistd.h>

// Writes "painted" on the standard output once the watched widget has been painted for the first
// time, then ends the program: the start-up benchmarks time a process to that line.
class FirstPaintReporter : public QObject {
public:
    explicit FirstPaintReporter(QWidget* watched) : QObject(watched)
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_reported) {
            m_reported = true;
            static const char kLine[] = "painted\n";
            [[maybe_unused]] const auto written = ::write(STDOUT_FILENO, kLine, sizeof kLine - 1);
            QMetaObject::invokeMethod(qApp, &QApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_reported = false;
};
