#pragma once

#include "support/PostgresServer.h"

#include "store/EngineSettings.h"

#include <QString>

#include <memory>

class TempProgramFolder;

// The store's tests run on both engines, as a global data column "engine" of the test object:
// "file" (the SQLite file in the program folder) and "server" (a fresh database on a PostgreSQL
// server this object starts at the first server row and stops at destruction).
class StoreEngines {
public:
    // In initTestCase_data().
    static void addRows();
    // Whether the running row is the server's.
    static bool onServer();

    // Opens the program's database on the running row's engine: the folder's file, or a new empty
    // database on the server; error says why not.
    bool open(TempProgramFolder &folder, QString *error);
    // Opens a new empty database on the server as Database::openServer does at start.
    bool openNewServerDatabase(QString *error);
    PostgresServer *server() { return m_server.get(); }
    // How the last database made was opened, as Kelto.ini would name it.
    EngineSettings::Choice lastChoice() const { return m_lastChoice; }

private:
    bool startServer(QString *error);

    std::unique_ptr<PostgresServer> m_server;
    int m_made = 0;
    EngineSettings::Choice m_lastChoice;
};
