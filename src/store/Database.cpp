#include "store/Database.h"

#include "common/EventTurns.h"
#include "store/DataSource.h"
#include "store/Dialect.h"
#include "store/ItemTexts.h"
#include "store/KeptStatement.h"
#include "store/Schema.h"
#include "store/StoreMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryFile>
#include <QUrl>
#include <QUuid>

#include <map>

namespace {
// SQLite's primary result code for a file that is not a database at all.
constexpr int SqliteNotADatabase = 26;

int openings = 0;
// The opening whose file passed the check of every page; 0 for none.
int provenWholeOpening = 0;

// The advisory lock under which a workstation checks the server's database and makes the tables.
constexpr int ServerCreationLock = 5163;

using Database::quoted;

struct TableDefinition {
    QString name;
    QStringList textFields; // every field but the automatic ID, all text
    bool hasId;
};

QList<TableDefinition> keltoTables() {
    using namespace Schema;
    return {
        {examineeTable, examineeFields(), true},
        {answerTable, answerFields(), true},
        {itemTable, {itemText}, true},
        {settingsTable, {theme, clinicName, clinicAddress}, false},
    };
}

QStringList creationStatements() {
    QStringList statements;
    for (const TableDefinition &table : keltoTables()) {
        QStringList columns;
        // On the server every table has its row number (the settings row too): rows are read in its order.
        if (table.hasId || Dialect::onServer())
            columns << quoted(Schema::id) + QLatin1Char(' ') + Dialect::idColumnType();
        for (const QString &field : table.textFields)
            columns << quoted(field) + QStringLiteral(" TEXT");
        statements
            << QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(table.name), columns.join(QStringLiteral(", ")));
    }
    const QList<QPair<QString, QString>> indexes{{Schema::examineeTable, Schema::code},
                                                 {Schema::answerTable, Schema::code},
                                                 {Schema::examineeTable, Schema::lastName},
                                                 {Schema::examineeTable, Schema::firstName},
                                                 {Schema::examineeTable, Schema::group}};
    for (const auto &[table, field] : indexes)
        statements << Dialect::indexStatement(quoted(table + QLatin1Char('_') + field), quoted(table), quoted(field),
                                              field == Schema::code);
    // A file says which rules its rows follow (SQLite's user_version); a server's tables need not.
    if (!Dialect::onServer())
        statements << QStringLiteral("PRAGMA user_version = %1").arg(Database::asciiCodesVersion);
    return statements;
}

// A side connection that lives for one check or one creation and is removed afterwards.
class SideConnection {
public:
    SideConnection(const QString &path, const QString &options)
        : m_name(QStringLiteral("kelto-side-") + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(options);
    }
    ~SideConnection() {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

enum class Verdict { Kelto, Foreign, Damaged, NeedsRecovery };

Verdict verdictOf(const QSqlError &error) {
    const int code = error.nativeErrorCode().toInt() & 0xff; // the primary code of an extended one
    return code == SqliteNotADatabase ? Verdict::Foreign : Verdict::Damaged;
}

// A file that may not be ours is opened read only and "immutable": no lock, no journal, no
// write-ahead log is touched or made beside it.
QString immutableUri(const QString &path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QStringLiteral("?immutable=1");
}

QString readOnlyUriOptions() { return QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"); }

// The 100-byte header every SQLite file begins with, read straight from the file. It tells a
// file that is no database at all, a garbled header and a file cut short, without reading the
// pages behind it: reading the whole file through on every start would cost more than the rest of
// the start together once the database holds many examinees.
Verdict examineHeader(const QString &path, bool cutOff) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Verdict::Damaged;
    const QByteArray header = file.read(100);
    const qint64 fileSize = file.size();
    static const QByteArray magic("SQLite format 3\0", 16);
    if (header.size() < 100 || !header.startsWith(magic))
        return Verdict::Foreign;
    const auto byteAt = [&header](int offset) { return quint32(quint8(header.at(offset))); };
    const auto bigEndian32 = [&byteAt](int offset) {
        return byteAt(offset) << 24 | byteAt(offset + 1) << 16 | byteAt(offset + 2) << 8 | byteAt(offset + 3);
    };
    const quint32 storedPageSize = byteAt(16) << 8 | byteAt(17);
    const quint32 pageSize = storedPageSize == 1 ? 65536 : storedPageSize;
    const bool pageSizeValid = pageSize >= 512 && pageSize <= 65536 && (pageSize & (pageSize - 1)) == 0;
    const bool versionsValid = byteAt(18) >= 1 && byteAt(18) <= 2 && byteAt(19) >= 1 && byteAt(19) <= 2;
    // The payload fractions are fixed at 64, 32 and 32 in every file SQLite writes.
    const bool fractionsValid = byteAt(21) == 64 && byteAt(22) == 32 && byteAt(23) == 32;
    if (!pageSizeValid || !versionsValid || !fractionsValid || byteAt(20) >= pageSize / 2)
        return Verdict::Damaged;
    // A cut-off write or a write-ahead log may leave the file at another size than its header
    // says until SQLite has recovered it; the pages are checked after that recovery instead.
    if (cutOff || byteAt(18) == 2 || QFileInfo::exists(path + QStringLiteral("-wal")))
        return Verdict::Kelto;
    // The page count in the header is to be trusted only when written by the same change as
    // the change counter (older writers do not keep it).
    const quint32 pageCount = bigEndian32(28);
    if (pageCount == 0 || bigEndian32(92) != bigEndian32(24))
        return Verdict::Kelto;
    if (fileSize < qint64(pageCount) * pageSize || fileSize % pageSize != 0)
        return Verdict::Damaged;
    return Verdict::Kelto;
}

// Checks the tables and fields of a file; reading them reads and parses its schema.
Verdict examineTables(QSqlDatabase db) {
    if (!db.open())
        return verdictOf(db.lastError());
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        return verdictOf(query.lastError());
    for (const TableDefinition &table : keltoTables()) {
        if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(table.name))))
            return verdictOf(query.lastError());
        QSet<QString> present;
        while (query.next())
            present.insert(query.value(1).toString().toLower());
        QStringList required = table.textFields;
        if (table.hasId)
            required << Schema::id;
        for (const QString &field : required)
            if (!present.contains(field.toLower()))
                return Verdict::Foreign;
    }
    return Verdict::Kelto;
}

// The file is looked at as it lies (immutableUri). A journal beside it means a write was cut off: the tables are
// checked now, and every page after the read-write connection has rolled that write back. Otherwise the header and the
// schema are checked, not every page: damage deep inside the file is reported by the read that meets it.
Verdict examineFile(const QString &path) {
    const bool cutOff = QFileInfo::exists(path + QStringLiteral("-journal"));
    Verdict verdict = examineHeader(path, cutOff);
    if (verdict != Verdict::Kelto)
        return verdict;
    verdict = examineTables(SideConnection(immutableUri(path), readOnlyUriOptions()).db());
    return verdict == Verdict::Kelto && cutOff ? Verdict::NeedsRecovery : verdict;
}

// Every page read through, by SQLite's own check: for a file about to replace the database.
Verdict examinePages(QSqlDatabase db) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA integrity_check")))
        return verdictOf(query.lastError());
    return query.next() && query.value(0).toString() == QLatin1String("ok") ? Verdict::Kelto : Verdict::Damaged;
}

// The file and its folder must take writes (the journal lives beside the file).
bool isWritable(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return false;
    file.close();
    return Database::folderTakesWrites(QFileInfo(path).absolutePath());
}

bool runAll(QSqlDatabase db, const QStringList &statements, QString *error) {
    QSqlQuery query(db);
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

// Makes the tables, the 40 item texts and the settings row, inside the caller's transaction.
bool fillTables(QSqlDatabase db, QString *error) {
    bool ok = runAll(db, creationStatements(), error);
    QSqlQuery query(db);
    if (ok) {
        query.prepare(QStringLiteral("INSERT INTO %1 (%2, %3) VALUES (?, ?)")
                          .arg(quoted(Schema::itemTable), quoted(Schema::id), quoted(Schema::itemText)));
        const QStringList texts = itemTexts();
        for (int item = 1; ok && item <= texts.size(); ++item) {
            query.addBindValue(item);
            query.addBindValue(texts.at(item - 1));
            ok = query.exec();
        }
        ok = ok && query.exec(QStringLiteral("INSERT INTO %1 (%2, %3, %4) VALUES ('1', '', '')")
                                  .arg(quoted(Schema::settingsTable), quoted(Schema::theme), quoted(Schema::clinicName),
                                       quoted(Schema::clinicAddress)));
        if (!ok)
            *error = query.lastError().text();
    }
    return ok;
}

bool fillNewDatabase(QSqlDatabase db, QString *error) {
    if (!db.open()) {
        *error = db.lastError().text();
        return false;
    }
    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    bool ok = fillTables(db, error);
    if (ok && !db.commit()) {
        *error = db.lastError().text();
        ok = false;
    }
    if (!ok)
        db.rollback();
    return ok;
}

// Builds the whole database in a temporary file beside the target and renames it into place,
// so that an interrupted creation never leaves a half-made database under the real name.
bool create(const QString &path, QString *errorMessage) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) {
        *errorMessage = StoreMessages::cannotCreate(path, QStringLiteral("mkdir ") + info.absolutePath());
        return false;
    }
    QTemporaryFile temporary(info.absoluteFilePath() + QStringLiteral(".new-XXXXXX"));
    if (!temporary.open()) {
        *errorMessage = StoreMessages::notWritable(path);
        return false;
    }
    temporary.close();
    QString error;
    bool ok;
    {
        SideConnection side(temporary.fileName(), QString());
        ok = fillNewDatabase(side.db(), &error);
    }
    if (ok && !QFile::rename(temporary.fileName(), info.absoluteFilePath())) {
        ok = false;
        error = QFileInfo::exists(path) ? QStringLiteral("exists") : QStringLiteral("rename");
    }
    if (!ok) {
        *errorMessage = StoreMessages::cannotCreate(path, error);
        return false;
    }
    temporary.setAutoRemove(false); // now the database itself
    return true;
}

bool openMain(const QString &path, QString *errorMessage) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Database::connectionName());
    db.setDatabaseName(path);
    QSqlQuery query(db);
    const bool ok = db.open() && query.exec(QStringLiteral("PRAGMA journal_mode=DELETE")) &&
                    query.exec(QStringLiteral("PRAGMA synchronous=FULL")) &&
                    query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (!ok) {
        const QString reason = db.isOpen() ? query.lastError().text() : db.lastError().text();
        query = QSqlQuery();
        db = QSqlDatabase();
        Database::close();
        *errorMessage = StoreMessages::cannotOpen(path, reason);
        return false;
    }
    return true;
}

// The tables and fields of the database the connection stands on, by table (names as the server
// spells them); nothing when the read fails (error says why).
bool readServerTables(QSqlQuery &query, QMap<QString, QSet<QString>> *tables, QString *error) {
    if (!query.exec(QStringLiteral("SELECT table_name, column_name FROM information_schema.columns "
                                   "WHERE table_schema = current_schema()"))) {
        *error = query.lastError().text();
        return false;
    }
    while (query.next())
        (*tables)[query.value(0).toString()].insert(query.value(1).toString().toLower());
    return true;
}

// Kelto's four tables with all their fields, and no other table.
bool areKeltoTables(const QMap<QString, QSet<QString>> &tables) {
    const QList<TableDefinition> kelto = keltoTables();
    if (tables.size() != kelto.size())
        return false;
    for (const TableDefinition &table : kelto) {
        const auto present = tables.constFind(table.name);
        if (present == tables.cend() || !present->contains(QString(Schema::id).toLower()))
            return false;
        for (const QString &field : table.textFields)
            if (!present->contains(field.toLower()))
                return false;
    }
    return true;
}

// On the server: checks the database, or makes Kelto's tables on an empty one, in one transaction
// under a lock that a second workstation starting at the same moment waits for; it then finds the
// tables made. A foreign database is left as it was.
bool prepareServerDatabase(QSqlDatabase db, const QString &serverName, QString *errorMessage) {
    QSqlQuery query(db);
    QString error;
    QMap<QString, QSet<QString>> tables;
    bool ok = query.exec(QStringLiteral("BEGIN")) &&
              query.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(ServerCreationLock));
    if (!ok)
        error = query.lastError().text();
    ok = ok && readServerTables(query, &tables, &error);
    bool foreign = false;
    if (ok && tables.isEmpty())
        ok = fillTables(db, &error);
    else if (ok)
        foreign = !areKeltoTables(tables);
    if (ok && !foreign && !query.exec(QStringLiteral("COMMIT"))) {
        error = query.lastError().text();
        ok = false;
    }
    if (!ok || foreign)
        query.exec(QStringLiteral("ROLLBACK"));
    if (foreign)
        *errorMessage = StoreMessages::notKeltoDatabase(serverName);
    else if (!ok)
        *errorMessage = StoreMessages::serverUnreachable(serverName, error);
    return ok && !foreign;
}

// SQLite's quick check of every page.
bool quickCheck(QSqlDatabase db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("PRAGMA quick_check")) && query.next() &&
           query.value(0).toString() == QLatin1String("ok");
}
} // namespace

namespace Database {
bool open(const QString &path, QString *errorMessage) {
    QString ignored;
    if (!errorMessage)
        errorMessage = &ignored;
    close();
    forgetReportedDamage();
    ++openings;
    Dialect::setEngine(Dialect::Engine::SqliteFile);
    const QFileInfo info(path);
    if (!info.exists()) {
        if (!create(path, errorMessage))
            return false;
        return openMain(path, errorMessage);
    }
    const Verdict verdict = info.isFile() ? examineFile(path) : Verdict::Foreign;
    if (verdict == Verdict::Foreign) {
        *errorMessage = StoreMessages::notKeltoDatabase(path);
        return false;
    }
    if (verdict == Verdict::Damaged) {
        *errorMessage = StoreMessages::damaged(path);
        return false;
    }
    if (!isWritable(path)) {
        *errorMessage = StoreMessages::notWritable(path);
        return false;
    }
    if (!openMain(path, errorMessage))
        return false;
    // After a cut-off write has been rolled back, the file must still be whole.
    if (verdict == Verdict::NeedsRecovery && !quickCheck(connection())) {
        close();
        *errorMessage = StoreMessages::damaged(path);
        return false;
    }
    return true;
}

bool pagesAreWhole(const QString &path) {
    // SQLite's check is one long step: it runs on a thread of its own, while the user-interface
    // thread's events get their turn every few milliseconds, as during a copy.
    return whileEventsTurn([&path]() {
        const SideConnection side(immutableUri(path), readOnlyUriOptions());
        return side.db().open() && quickCheck(side.db());
    });
}

int opening() { return openings; }

void noteProvenWhole(int checkedOpening) {
    if (isOpen() && checkedOpening == openings)
        provenWholeOpening = checkedOpening;
}

bool provenWhole() { return isOpen() && provenWholeOpening == openings; }

bool openServer(const EngineSettings::Choice &server, QString *errorMessage) {
    QString ignored;
    if (!errorMessage)
        errorMessage = &ignored;
    close();
    Dialect::setEngine(Dialect::Engine::PostgresServer);
    const QString name = server.serverName();
    bool ok = false;
    {
        QSqlDatabase db = addServerConnection(Database::connectionName(), server);
        if (!db.isValid())
            *errorMessage = StoreMessages::serverUnreachable(name, QStringLiteral("QPSQL (libqt6sql6-psql)"));
        else if (!db.open())
            *errorMessage = StoreMessages::serverUnreachable(name, db.lastError().databaseText().trimmed());
        else
            ok = prepareServerDatabase(db, name, errorMessage);
    }
    if (!ok) {
        close();
        return false;
    }
    setBeforeReconnect(&KeptStatement::dropForNewSession);
    return true;
}

bool reachServer(const EngineSettings::Choice &server, QString *message) {
    // On a thread and a connection of its own: a host that does not answer keeps libpq waiting up
    // to its connect_timeout, while the window stays alive; the program's own connection is not
    // touched.
    const auto attempt = [server]() {
        const QString name = QStringLiteral("kelto-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        QString reason;
        {
            QSqlDatabase db = addServerConnection(name, server);
            if (!db.isValid())
                reason = QStringLiteral("QPSQL (libqt6sql6-psql)");
            else if (!db.open())
                reason = db.lastError().databaseText().trimmed();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return reason;
    };
    const QString reason = whileEventsTurn(attempt);
    *message = reason.isEmpty() ? StoreMessages::serverReached(server.serverName())
                                : StoreMessages::serverUnreachable(server.serverName(), reason);
    return reason.isEmpty();
}

void close() {
    // The file may be replaced once closed (a restore): snapshots still owed their count take it
    // from the file they were read from.
    DataSource::takePendingCounts();
    KeptStatement::finalizeAll();
    setBeforeReconnect({});
    provenWholeOpening = 0;
    if (!QSqlDatabase::contains(Database::connectionName()))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(Database::connectionName(), false);
        db.close();
    }
    QSqlDatabase::removeDatabase(Database::connectionName());
}

bool folderTakesWrites(const QString &folder) {
    // Asking the system for permissions is not enough (root, immutable folders, read-only
    // mounts): a file is made and removed again.
    QTemporaryFile probe(folder + QStringLiteral("/.kelto-probe-XXXXXX"));
    return probe.open();
}

bool isKeltoDatabaseFile(const QString &path, QString *why) {
    QString ignored;
    if (!why)
        why = &ignored;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = StoreMessages::cannotOpen(path, file.errorString());
        return false;
    }
    file.close();
    Verdict verdict = QFileInfo(path).isFile() ? examineHeader(path, false) : Verdict::Foreign;
    if (verdict == Verdict::Kelto) {
        const SideConnection side(immutableUri(path), readOnlyUriOptions());
        verdict = examineTables(side.db());
        if (verdict == Verdict::Kelto)
            verdict = examinePages(side.db());
    }
    if (verdict == Verdict::Foreign)
        *why = StoreMessages::notKeltoDatabase(path);
    else if (verdict == Verdict::Damaged)
        *why = StoreMessages::damaged(path);
    return verdict == Verdict::Kelto;
}
} // namespace Database
