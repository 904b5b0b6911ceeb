#pragma once

#include <QString>

// Writes that belong together (an examinee row and its answer row) go through one transaction
// on the program's connection: all of them are stored, or none. Rolled back on destruction unless
// committed. Transactions nest: an inner one is a savepoint of the outer one (on a server the
// outermost one is the server's transaction itself). After a rollback,
// data sources that saved inside the transaction still hold the rows as saved: re-read them.
class Transaction {
public:
    Transaction();
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // False when the transaction could not begin; nothing should then be written.
    bool isActive() const;
    bool commit();
    void rollback();
    QString lastError() const;

private:
    bool run(const QString &statement);
    bool endServerTransaction(const QString &statement);

    QString m_savepoint;
    bool m_active = false;
    bool m_began = false; // began the server's transaction
    QString m_lastError;
};
