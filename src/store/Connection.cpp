#include "store/Connection.h"

#include "store/Dialect.h"
#include "store/StoreMessages.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlError>
#include <QTimer>
#include <QUuid>

namespace {
// SQLite's primary result codes for a damaged file and for a file that is not a database at all.
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADatabase = 26;

// Whether the listener has heard of damage since the database was last opened.
bool damageReported = false;

Database::TroubleListener &troubleListener() {
    static Database::TroubleListener listener;
    return listener;
}

void tellListener(Database::Trouble trouble, const QString &detail) {
    if (troubleListener())
        troubleListener()(trouble, detail);
}

// The loss of the server's connection in hand: whether the user has been told, and the reason a
// failed attempt to connect again gave (libpq's words then name the cause, not the lost session).
struct Loss {
    bool lost = false;
    bool heard = false; // by the listener
    bool told = false;  // by the listener's box or a write's window
    bool reconnecting = false;
    bool triedThisTurn = false;
    QString reason;
};
Loss loss;

std::function<bool()> &beforeReconnect() {
    static std::function<bool()> hook;
    return hook;
}

// Whether the server answers, on a connection of its own with the same parameters: the program's
// own is closed and opened again only then, or its statements would fail without a word.
bool serverAnswers(const QSqlDatabase &like, QString *reason) {
    const QString name = QStringLiteral("kelto-reconnect-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool answers = false;
    {
        QSqlDatabase probe = QSqlDatabase::cloneDatabase(like, name);
        answers = probe.open();
        if (!answers)
            *reason = probe.lastError().databaseText().trimmed();
        probe.close();
    }
    QSqlDatabase::removeDatabase(name);
    return answers;
}

// One attempt for each turn of the event loop: a host that does not answer keeps each attempt
// waiting for libpq's connect_timeout, and a window's read makes several statements.
void noteAttempt() {
    if (!QCoreApplication::instance())
        return;
    loss.triedThisTurn = true;
    QTimer::singleShot(0, QCoreApplication::instance(), []() { loss.triedThisTurn = false; });
}

void reconnect(QSqlDatabase &db) {
    loss.reconnecting = true;
    const bool may = beforeReconnect() && beforeReconnect()();
    if (may) {
        noteAttempt();
        QString reason;
        if (serverAnswers(db, &reason)) {
            db.close();
            if (db.open()) {
                qInfo("Database: connected again to the server");
                loss = Loss();
            }
        } else {
            // Why the server cannot be reached tells more than the lost session's last words.
            loss.reason = reason;
        }
    }
    loss.reconnecting = false;
}
} // namespace

namespace Database {
QString connectionName() { return QString::fromLatin1(QSqlDatabase::defaultConnection); }

QSqlDatabase connection() {
    QSqlDatabase db = QSqlDatabase::database(connectionName(), false);
    if (loss.lost && !loss.reconnecting && !loss.triedThisTurn && db.isValid())
        reconnect(db);
    return db;
}

// Asking is no statement: it does not connect again.
bool isOpen() { return QSqlDatabase::database(connectionName(), false).isOpen(); }

QString filePath() {
    const QSqlDatabase db = QSqlDatabase::database(connectionName(), false);
    return db.isValid() && db.driverName() == QLatin1String("QSQLITE") ? QFileInfo(db.databaseName()).absoluteFilePath()
                                                                       : QString();
}

QSqlDatabase addServerConnection(const QString &name, const EngineSettings::Choice &server) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(server.host);
    db.setPort(server.port);
    db.setDatabaseName(server.database);
    db.setUserName(server.user);
    db.setConnectOptions(QStringLiteral("sslmode=%1;connect_timeout=15").arg(server.sslMode));
    return db;
}

EngineSettings::Choice serverInUse() {
    EngineSettings::Choice server;
    const QSqlDatabase db = QSqlDatabase::database(connectionName(), false);
    if (!db.isValid() || db.driverName() != QLatin1String("QPSQL"))
        return server;
    server.onServer = true;
    server.host = db.hostName();
    server.port = db.port();
    server.database = db.databaseName();
    server.user = db.userName();
    for (const QString &option : db.connectOptions().split(QLatin1Char(';'))) {
        if (option.startsWith(QLatin1String("sslmode=")))
            server.sslMode = option.section(QLatin1Char('='), 1);
    }
    return server;
}

void setTroubleListener(TroubleListener listener) { troubleListener() = std::move(listener); }

bool isDamage(int sqliteCode) {
    const int primary = sqliteCode & 0xff;
    return primary == SqliteCorrupt || primary == SqliteNotADatabase;
}

void reportDamage(const QString &detail) {
    qWarning("Database: damage met: %s", qPrintable(detail));
    if (damageReported)
        return;
    damageReported = true;
    tellListener(Trouble::Damage, detail);
}

void forgetReportedDamage() { damageReported = false; }

bool isLostConnection(const QSqlError &error) {
    if (!Dialect::onServer())
        return false;
    const QString state = error.nativeErrorCode();
    if (state.startsWith(QLatin1String("08")) || state == QLatin1String("57P01") || state == QLatin1String("57P02") ||
        state == QLatin1String("57P03"))
        return true;
    const QSqlDatabase db = QSqlDatabase::database(connectionName(), false);
    return db.isValid() && !db.isOpen();
}

QString reportLostConnection(const QString &reason, LostIn lostIn) {
    qWarning("Database: the connection to the server is lost: %s", qPrintable(reason));
    loss.lost = true;
    if (loss.reason.isEmpty())
        loss.reason = reason.trimmed();
    const QString why = loss.reason.isEmpty() ? QStringLiteral("no connection to the server") : loss.reason;
    const QString server = serverInUse().serverName();
    if (lostIn == LostIn::Write) {
        loss.told = true;
        return StoreMessages::serverLostInSave(server, why);
    }
    const QString message = StoreMessages::serverLost(server, why);
    if (!loss.heard && !loss.told) {
        loss.heard = true;
        tellListener(Trouble::LostServer, message);
    }
    return message;
}

bool connectionLost() { return loss.lost; }

bool tellOfLostConnection() {
    if (!loss.lost || loss.told)
        return false;
    loss.told = true;
    return true;
}

void setBeforeReconnect(std::function<bool()> hook) {
    beforeReconnect() = std::move(hook);
    loss = Loss();
}
} // namespace Database
