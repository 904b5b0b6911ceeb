#pragma once

#include <QString>
#include <QStringList>

struct sqlite3_stmt;

// A read compiled once on the open database and kept until it closes, run straight through
// SQLite. For the look-ups repeated at every selection of an examinee: Qt's own reading describes
// every column anew and copies every field twice at each run, which costs more than the read.
class KeptStatement {
public:
    // The statement for this text, compiled at its first use; null when no database is open or the
    // text does not compile (then why says so). Kept statements are finalized as the database
    // closes: do not keep the pointer beyond the read.
    static KeptStatement *forText(const QString &sql, QString *why);
    static void finalizeAll();
    // Whether a database is open and no transaction is under way on it.
    static bool outsideTransactions();

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
    explicit KeptStatement(sqlite3_stmt *statement) : m_statement(statement) {}

    sqlite3_stmt *m_statement;
    QString m_lastError;
    int m_lastErrorCode = 0;
};
