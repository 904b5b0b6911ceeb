#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <chrono>
#include <future>

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

// Runs work that cannot be cut into pieces (deriving a key, a check of a whole file, putting
// written bytes on the disk) on a thread of its own, letting the events run on this one every few
// milliseconds until it is done; gives what the work gave. The work must touch nothing the events
// may touch.
template <typename Work> auto whileEventsTurn(Work work) -> decltype(work()) {
    auto done = std::async(std::launch::async, std::move(work));
    while (done.wait_for(std::chrono::nanoseconds(EventTurns::intervalNs)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return done.get();
}
