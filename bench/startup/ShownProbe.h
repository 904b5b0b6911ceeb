#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QWidget>

#include <cstdio>

// Watches a window for its first paint; once that paint is done, writes "shown <peak KiB>" on
// standard output (the peak resident size so far, VmHWM) and ends the program. Both start-up
// probes use it, so they are measured at the same point.
class ShownProbe : public QObject {
public:
    explicit ShownProbe(QWidget *window) : QObject(window) { window->installEventFilter(this); }

    static long peakKiB() {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
        return -1;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            // Queued: runs once the paint has been carried out.
            QMetaObject::invokeMethod(
                this,
                []() {
                    std::printf("shown %ld\n", peakKiB());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_painted = false;
};
