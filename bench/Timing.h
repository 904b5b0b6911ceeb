#pragma once

// What the benchmarks measure alike: the median of a round's samples, and a step timed with the
// longest wait the events had during it (a zero-interval timer, fired at every turn the step gives
// the event loop).
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <algorithm>
#include <functional>

inline double median(QList<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples.at(samples.size() / 2);
}

struct TimedRun {
    double ms = 0;
    double longestGapMs = 0;
    bool done = false;
};

inline TimedRun timedWithGaps(const std::function<bool()> &work) {
    TimedRun run;
    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 longestGap = 0;
    QTimer turn;
    turn.setInterval(0);
    QObject::connect(&turn, &QTimer::timeout, [&]() {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastTurn);
        lastTurn = now;
    });
    turn.start();
    clock.start();
    run.done = work();
    const qint64 total = clock.nsecsElapsed();
    run.ms = total / 1e6;
    run.longestGapMs = std::max(longestGap, total - lastTurn) / 1e6;
    return run;
}
