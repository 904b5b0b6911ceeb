#include "app/WebPageOpener.h"

#include <QDesktopServices>

namespace {
WebPageOpener::Action &currentAction() {
    static WebPageOpener::Action action;
    return action;
}
} // namespace

bool WebPageOpener::open(const QUrl &address) {
    if (currentAction())
        return currentAction()(address);
    return QDesktopServices::openUrl(address);
}

WebPageOpener::Action WebPageOpener::replaceAction(Action action) {
    Action previous = std::move(currentAction());
    currentAction() = std::move(action);
    return previous;
}
