#pragma once

#include "store/Connection.h"

#include <QString>
#include <QStringList>

#include <memory>

class QSqlQuery;
struct sqlite3_stmt;

// A read compiled once on the open database and kept until it closes: on the SQLite file run
// straight through SQLite, on a server a statement prepared there for the connection's life. For
// the look-ups repeated at every selection of an examinee: Qt's own reading of the file describes
// every column anew and copies every field twice at each run, which costs more than the read.
class KeptStatement {
public:
    // The statement for this text, compiled at its first use; null when no database is open or the
    // text does not compile (then why says so). Kept statements are finalized as the database
    // closes: do not keep the pointer beyond the read.
    // A server lost on the way is told as lost in a read, or in a save (whose window says so itself).
    static KeptStatement *forText(const QString &sql, QString *why, Database::LostIn lostIn = Database::LostIn::Read);
    // On a server, the query prepared there for this text and kept likewise, for a statement that
    // writes: prepared anew at every run it would cost two more round trips to the server (PREPARE
    // and DEALLOCATE). Bind its values by position. Null as forText gives none, and on the SQLite file.
    static QSqlQuery *serverQuery(const QString &sql, QString *why);
    static void finalizeAll();
    // Whether a database is open and no transaction is under way on it.
    static bool outsideTransactions();
    // On a server, the program's own account of it: Transaction and ReadSnapshot say when they
    // begin and end one there.
    static void noteServerTransaction(bool open);
    // Before the store connects again to a server whose connection was lost: false while a
    // transaction is open on the lost session, otherwise every kept statement (prepared on that
    // session) is dropped.
    static bool dropForNewSession();

    ~KeptStatement();
    KeptStatement(const KeptStatement &) = delete;
    KeptStatement &operator=(const KeptStatement &) = delete;

    // Runs the read with its parameters, all bound as text, and stands on the first row. False
    // when there is no row, or the read failed: then lastError() says why.
    bool firstRow(const QStringList &parameters);
    qint64 integer(int column) const;
    QString text(int column) const; // a null QString for a NULL field
    QString lastError() const { return m_lastError; }
    int lastErrorCode() const { return m_lastErrorCode; }
    // Ends the read, so that no lock stays on the file.
    void finish();

private:
    explicit KeptStatement(sqlite3_stmt *statement);
    explicit KeptStatement(std::unique_ptr<QSqlQuery> query);

    sqlite3_stmt *m_statement = nullptr;
    std::unique_ptr<QSqlQuery> m_query; // on a server
    QString m_lastError;
    int m_lastErrorCode = 0;
};
