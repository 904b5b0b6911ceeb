#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

class QThread;

// SQLite's check of every page of the database file, run on a thread of its own over a
// connection of its own while the program goes on. The file is read as it lies, without a lock,
// so that no write of the program ever waits for the check; a page that reads as damaged that way
// (it may have been in the middle of a write) is checked once more under a read lock before the
// damage is believed.
class WholeFileCheck : public QObject {
    Q_OBJECT
public:
    explicit WholeFileCheck(QObject *parent = nullptr);
    // Stops a check under way and waits for its thread.
    ~WholeFileCheck() override;

    void start(const QString &path);
    void stop();
    bool isRunning() const;

signals:
    // The file was read through: damaged or not (never sent for a check that was stopped).
    void finished(bool damaged);

private:
    std::unique_ptr<QThread> m_thread;
    std::shared_ptr<std::atomic<bool>> m_stop;
};
