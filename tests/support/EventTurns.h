#pragma once

#include <QCoreApplication>
#include <QMetaObject>

#include <functional>

// Runs the work with a posted call that posts itself again, and gives the number of times it ran:
// once for each turn the work gave the events.
inline int turnsDuring(const std::function<void()> &work) {
    int turns = 0;
    std::function<void()> turn = [&turns, &turn]() {
        ++turns;
        QMetaObject::invokeMethod(qApp, turn, Qt::QueuedConnection);
    };
    QMetaObject::invokeMethod(qApp, turn, Qt::QueuedConnection);
    work();
    const int during = turns;
    turn = []() {};
    QCoreApplication::processEvents();
    return during;
}
