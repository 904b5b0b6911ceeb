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
    m_lastChoice = m_server->choiceFor(QStringLiteral("kelto_%1").arg(++m_made));
    return m_server->createDatabase(m_lastChoice.database, error) && Database::openServer(m_lastChoice, error);
}
