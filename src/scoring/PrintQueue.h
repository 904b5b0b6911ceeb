#pragma once

#include <QByteArray>
#include <QString>

// The print server's queue a report is sent to, asked through libcups: Qt's print engine hands
// the pages to the server and drops its answer, so a queue that refuses jobs, or a server that has
// stopped, would look like a print. Before sending, it tells whether the queue exists and accepts
// jobs; after, whether the server holds the job just sent and has not cancelled or aborted it.
class PrintQueue {
public:
    // NotAccepting: refused before sending; JobRefused: no such job on the server after it; JobFailed:
    // cancelled or aborted; NotPainted: the pages could not be made (a file that cannot be written).
    enum class Outcome { Sent, ServerUnreachable, NoSuchQueue, NotAccepting, JobRefused, JobFailed, NotPainted };

    // The name as the printer gives it: "queue" or "queue/instance".
    explicit PrintQueue(const QString &printerName);

    // Whether the queue exists and accepts jobs; notes the newest of the user's jobs on it, so
    // that the job sent next is told from those before it.
    Outcome checkBeforeSending();
    // Whether the server holds a job with this title newer than those noted before, and that job
    // is waiting, held, printing or done.
    Outcome checkSentJob(const QString &title);
    // The server's own words on the last check that failed, for the log.
    QString serverMessage() const { return m_serverMessage; }

    // What the user is told when the report was not printed.
    static QString notPrintedText(Outcome outcome);

private:
    QByteArray m_queue;
    int m_lastJobBefore = 0;
    QString m_serverMessage;
};
