#include "ProgramEnd.h"

#include <QCoreApplication>
#include <QTimer>
#include <QtGlobal>

namespace {
constexpr int returnedWithoutEnding = 98;
constexpr int boundReached = 99;
} // namespace

bool endsProgram(const std::function<void()> &action, int boundMs) {
    // Both timers go with this call, so neither can end a later loop.
    QTimer returned;
    returned.setSingleShot(true);
    QObject::connect(&returned, &QTimer::timeout, []() { QCoreApplication::exit(returnedWithoutEnding); });
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, []() { QCoreApplication::exit(boundReached); });
    QTimer::singleShot(0, &returned, [&action, &returned]() {
        action();
        // Only a loop that was not told to return comes round to this.
        returned.start(0);
    });
    bound.start(boundMs);
    const int code = QCoreApplication::exec();
    if (code == boundReached)
        qWarning("the action did not return within %d ms", boundMs);
    return code == 0;
}
