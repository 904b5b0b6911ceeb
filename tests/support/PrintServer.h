#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A real CUPS scheduler for the tests that print, every file of its own in a temporary folder:
// configuration, spool, logs, the Unix socket it listens on (CUPS_SERVER of this process once
// started), and what its queues print. Stopped at destruction, and dies with the test process.
class PrintServer {
public:
    PrintServer();
    ~PrintServer();
    PrintServer(const PrintServer &) = delete;
    PrintServer &operator=(const PrintServer &) = delete;

    // Starts cupsd and waits (up to a minute) until it answers on its socket; error says why not.
    bool start(QString *error);
    void stop();
    // Adds the default queue, accepting jobs; it prints each through CUPS's PDF filter into printedFile.
    bool addQueue(const QString &name, QString *error);
    // Runs a CUPS tool (lpadmin, cupsreject, lpstat...) against this server; its output in output.
    bool administer(const QString &tool, const QStringList &arguments, QString *output = nullptr) const;
    QString printedFile(const QString &queue) const;

private:
    QTemporaryDir m_dir;
    QProcess m_cupsd;
};
