#include "store/Database.h"

#include "common/EventTurns.h"
#include "common/LeftoverFiles.h"
#include "store/DataSource.h"
#include "store/Dialect.h"
#include "store/ItemTexts.h"
#include "store/KeptStatement.h"
#include "store/Schema.h"
#include "store/SideConnection.h"
#include "store/StoreMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <QTemporaryFile>

#include <map>

namespace {
// SQLite's primary result code for a file that is not a database at all.
constexpr int SqliteNotADatabase = 26;

int openings = 0;
// The opening whose file passed the check of every page; 0 for none.
int provenWholeOpening = 0;

// The server the register is open on.

// The advisory lock under which a workstation checks the server's database and makes the tables.
constexpr int ServerCreationLock = 5163;

using Database::quoted;

// The mark of a new database's temporary name, "<database>.new-XXXXXX".
const QString newDatabaseKind = QStringLiteral("new");

// The statements that make a Kelto database on the given engine: its tables, then its indexes (and
// a file's format version), which may come once the rows are in.
struct Creation {
    QStringList tables;
    QStringList indexes;
};

// The look-up indexes, by table and field: the codes' first (unique on the server).
QList<QPair<QString, QString>> lookUpIndexes() {
    return {{Schema::examineeTable, Schema::code},
            {Schema::answerTable, Schema::code},
            {Schema::examineeTable, Schema::lastName},
            {Schema::examineeTable, Schema::firstName},
            {Schema::examineeTable, Schema::group}};
}

QString indexName(const QString &table, const QString &field) { return table + QLatin1Char('_') + field; }

QString indexStatement(Dialect::Engine engine, const QString &table, const QString &field) {
    return Dialect::indexStatement(engine, quoted(indexName(table, field)), quoted(table), quoted(field),
                                   field == Schema::code);
}

Creation creationStatements(Dialect::Engine engine) {
    const bool onServer = engine == Dialect::Engine::PostgresServer;
    Creation creation;
    for (const Schema::Table &table : Schema::tables()) {
        QStringList columns;
        // On the server every table has its row number (the settings row too): rows are read in its order.
        if (table.hasId || onServer)
            columns << quoted(Schema::id) + QLatin1Char(' ') + Dialect::idColumnType(engine);
        for (const QString &field : table.textFields)
            columns << quoted(field) + QStringLiteral(" TEXT");
        creation.tables
            << QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(table.name), columns.join(QStringLiteral(", ")));
    }
    for (const auto &[table, field] : lookUpIndexes())
        creation.indexes << indexStatement(engine, table, field);
    // A file says which rules its rows follow (SQLite's user_version); a server's tables need not.
    if (!onServer)
        creation.indexes << QStringLiteral("PRAGMA user_version = %1").arg(Database::asciiCodesVersion);
    return creation;
}

enum class Verdict { Kelto, Foreign, Damaged, NeedsRecovery };

Verdict verdictOf(const QSqlError &error) {
    const int code = error.nativeErrorCode().toInt() & 0xff; // the primary code of an extended one
    return code == SqliteNotADatabase ? Verdict::Foreign : Verdict::Damaged;
}

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
    for (const Schema::Table &table : Schema::tables()) {
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

// The file is looked at as it lies (SideConnection::Access::AsItLies). A journal beside it means a write was cut off:
// the tables are checked now, and every page after the read-write connection has rolled that write back. Otherwise the
// header and the schema are checked, not every page: damage deep inside the file is reported by the read that meets it.
Verdict examineFile(const QString &path) {
    const bool cutOff = QFileInfo::exists(path + QStringLiteral("-journal"));
    Verdict verdict = examineHeader(path, cutOff);
    if (verdict != Verdict::Kelto)
        return verdict;
    verdict = examineTables(SideConnection(path, SideConnection::Access::AsItLies).db());
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

// What a failed step says; a full disk (SQLite's SQLITE_FULL) in the words used for one everywhere.
QString describe(const QSqlError &error) {
    return error.nativeErrorCode() == QLatin1String("13") ? StoreMessages::diskFull() : error.text();
}

bool runAll(QSqlDatabase db, const QStringList &statements, QString *error) {
    QSqlQuery query(db);
    for (const QString &statement : statements) {
        if (!query.exec(statement)) {
            *error = describe(query.lastError());
            return false;
        }
    }
    return true;
}

// Makes the tables, the 40 item texts and the settings row, inside the caller's transaction.
bool fillTables(QSqlDatabase db, QString *error) {
    const Creation creation = creationStatements(Dialect::engine());
    bool ok = runAll(db, creation.tables + creation.indexes, error);
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
    QTemporaryFile temporary(LeftoverFiles::temporaryTemplate(info.absoluteFilePath(), newDatabaseKind));
    if (!temporary.open()) {
        *errorMessage = StoreMessages::notWritable(path);
        return false;
    }
    temporary.close();
    QString error;
    bool ok;
    {
        SideConnection side(temporary.fileName());
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
    const QList<Schema::Table> kelto = Schema::tables();
    if (tables.size() != kelto.size())
        return false;
    for (const Schema::Table &table : kelto) {
        const auto present = tables.constFind(table.name);
        if (present == tables.cend() || !present->contains(QString(Schema::id).toLower()))
            return false;
        for (const QString &field : table.textFields)
            if (!present->contains(field.toLower()))
                return false;
    }
    return true;
}

// A database made by an earlier version has other look-up indexes than the ones made now: its code
// indexes lower the code without folding its digits (look-ups, which fold them now, would read the
// whole table, and a code written with Persian digits could be registered beside its ASCII twin),
// and its others hold no spelling for the lists of values. Each such index is made anew inside the
// opening's transaction. Should that fail (codes already stored that clash under the new rule, which
// nothing this program writes makes, or a workstation's role that does not own the tables), the old
// index stays, under a savepoint, and the register opens as before: the next opening tries again.
bool renewLookUpIndexes(QSqlQuery &query, QString *error) {
    QHash<QString, QString> definitions;
    if (!query.exec(QStringLiteral("SELECT indexname, indexdef FROM pg_indexes WHERE schemaname = current_schema()"))) {
        *error = query.lastError().text();
        return false;
    }
    while (query.next())
        definitions.insert(query.value(0).toString(), query.value(1).toString());
    for (const auto &[table, field] : lookUpIndexes()) {
        const QString name = indexName(table, field);
        if (Dialect::isCurrentIndex(definitions.value(name), quoted(field)))
            continue;
        if (!query.exec(QStringLiteral("SAVEPOINT kelto_index"))) {
            *error = query.lastError().text();
            return false;
        }
        if (!query.exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(quoted(name))) ||
            !query.exec(indexStatement(Dialect::Engine::PostgresServer, table, field))) {
            qWarning("Database: the index %s stays as it was: %s", qPrintable(name),
                     qPrintable(query.lastError().text()));
            if (!query.exec(QStringLiteral("ROLLBACK TO SAVEPOINT kelto_index"))) {
                *error = query.lastError().text();
                return false;
            }
        }
    }
    return true;
}

// On the server: checks the database, or makes Kelto's tables on an empty one, in one transaction
// under a lock that a second workstation starting at the same moment waits for; it then finds the
// tables made. The look-up indexes of an earlier version are made anew there. A foreign database is
// left as it was.
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
    else if (ok) {
        foreign = !areKeltoTables(tables);
        ok = foreign || renewLookUpIndexes(query, &error);
    }
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

// Runs work on a connection of its own to the SQLite file at path, in one transaction, with the
// journal in memory and no sync: for a file nobody knows of until it is whole, put on the disk by
// its maker once written.
bool inNewFile(const QString &path, const std::function<bool(QSqlDatabase file, QString *error)> &work,
               QString *error) {
    const SideConnection side(path);
    QSqlDatabase file = side.db();
    if (!file.open()) {
        *error = describe(file.lastError());
        return false;
    }
    bool ok =
        runAll(file, {QStringLiteral("PRAGMA journal_mode=MEMORY"), QStringLiteral("PRAGMA synchronous=OFF")}, error);
    if (ok && !file.transaction()) {
        *error = describe(file.lastError());
        ok = false;
    }
    ok = ok && work(file, error);
    if (ok && !file.commit()) {
        *error = describe(file.lastError());
        ok = false;
    }
    if (!ok)
        file.rollback();
    return ok;
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
    // Files left half made by a process killed while it made the database.
    LeftoverFiles::removeOld(info.absolutePath(), newDatabaseKind);
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
        const SideConnection side(path, SideConnection::Access::AsItLies);
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

bool makeFileOf(const QString &path, const std::function<bool(QSqlDatabase file, QString *error)> &fillRows,
                QString *error) {
    const Creation creation = creationStatements(Dialect::Engine::SqliteFile);
    if (!inNewFile(
            path,
            [&](QSqlDatabase file, QString *error) {
                return runAll(file, creation.tables, error) && fillRows(file, error);
            },
            error))
        return false;
    // Indexes made over many rows are one long step: on a thread of their own, with a connection of
    // their own, while the events run on this one.
    return whileEventsTurn([&]() {
        return inNewFile(
            path, [&](QSqlDatabase file, QString *error) { return runAll(file, creation.indexes, error); }, error);
    });
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
        const SideConnection side(path, SideConnection::Access::AsItLies);
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
