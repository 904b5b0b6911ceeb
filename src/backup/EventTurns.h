#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

// Paces long work on the user-interface thread: turn(), called between two pieces of the work,
// lets pending events run the first time and then whenever a few milliseconds have passed. A turn
// before every piece costs more than the piece (a backup of a large database took four times as
// long as cp); a few milliseconds between turns are too short for anyone to see, and clocks tick on.
class EventTurns {
public:
    static constexpr qint64 intervalNs = 5 * 1000 * 1000;

    void turn() {
        if (m_sinceTurn.isValid() && m_sinceTurn.nsecsElapsed() < intervalNs)
            return;
        QCoreApplication::processEvents();
        m_sinceTurn.start();
    }

private:
    QElapsedTimer m_sinceTurn;
};
