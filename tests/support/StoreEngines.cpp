#include "support/StoreEngines.h"

#include "support/TempProgramFolder.h"

#include "store/Database.h"

#include <QTest>

void StoreEngines::addRows() {
    QTest::addColumn<bool>("server");
    QTest::newRow("file") << false;
    QTest::newRow("server") << true;
}

bool StoreEngines::onServer() { return *static_cast<bool *>(QTest::qGlobalData("server", qMetaTypeId<bool>())); }

bool StoreEngines::open(TempProgramFolder &folder, QString *error) {
    return onServer() ? openNewServerDatabase(error) : folder.openDatabase(error);
}

bool StoreEngines::startServer(QString *error) {
    if (!m_server)
        m_server = std::make_unique<PostgresServer>();
    return m_server->start(error);
}

bool StoreEngines::openNewServerDatabase(QString *error) {
    if (!startServer(error))
        return false;
    EngineSettings::Choice &choice = m_lastChoice;
    choice.onServer = true;
    choice.host = m_server->socketFolder();
    choice.port = m_server->port();
    choice.database = QStringLiteral("kelto_%1").arg(++m_made);
    choice.user = m_server->user();
    choice.sslMode = QStringLiteral("disable");
    return m_server->createDatabase(choice.database, error) && Database::openServer(choice, error);
}
