#include "app/ServerAtStart.h"

#include "common/AppVersion.h"
#include "store/Database.h"
#include "store/StoreMessages.h"

#include <QMessageBox>
#include <QPushButton>

bool openServerAtStart(const EngineSettings::Choice &server) {
    QString error;
    while (!Database::openServer(server, &error)) {
        QMessageBox box(QMessageBox::Critical, appTitle(), error);
        box.setObjectName(QStringLiteral("serverBox"));
        QPushButton *retry = box.addButton(StoreMessages::tryAgain(), QMessageBox::AcceptRole);
        retry->setObjectName(QStringLiteral("retryButton"));
        QPushButton *exit = box.addButton(StoreMessages::exitProgram(), QMessageBox::RejectRole);
        exit->setObjectName(QStringLiteral("exitButton"));
        box.setDefaultButton(retry);
        box.setEscapeButton(exit);
        box.exec();
        if (box.clickedButton() != retry)
            return false;
    }
    return true;
}
