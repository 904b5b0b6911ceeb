#include "store/WholeFileCheck.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlQuery>
#include <QThread>
#include <QUrl>
#include <QUuid>
#include <QVariant>

#include <sqlite3.h>

namespace {
enum class Verdict { Whole, Damaged, Stopped };

// SQLite asks this every few thousand steps of the check; a non-zero answer ends it.
int stopRequested(void *flag) { return static_cast<std::atomic<bool> *>(flag)->load() ? 1 : 0; }

// One quick check of the whole file over a connection made, used and removed on this thread.
// locked: under a read lock (writes wait for it); otherwise the file is read as it lies.
Verdict checkOnce(const QString &path, bool locked, std::atomic<bool> *stop) {
    const QString name = QStringLiteral("kelto-check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    Verdict verdict = Verdict::Stopped;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        const QString uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
        db.setDatabaseName(locked ? uri : uri + QStringLiteral("?immutable=1"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=60000"));
        if (db.open()) {
            const QVariant handle = db.driver()->handle();
            if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
                sqlite3_progress_handler(*static_cast<sqlite3 *const *>(handle.constData()), 10000, &stopRequested,
                                         stop);
            QSqlQuery query(db);
            const bool ran = query.exec(QStringLiteral("PRAGMA quick_check"));
            if (!stop->load())
                verdict = ran && query.next() && query.value(0).toString() == QLatin1String("ok") ? Verdict::Whole
                                                                                                  : Verdict::Damaged;
        } else if (!stop->load()) {
            verdict = Verdict::Damaged;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return verdict;
}
} // namespace

WholeFileCheck::WholeFileCheck(QObject *parent) : QObject(parent) {}

WholeFileCheck::~WholeFileCheck() { stop(); }

void WholeFileCheck::start(const QString &path) {
    stop();
    m_stop = std::make_shared<std::atomic<bool>>(false);
    m_thread.reset(QThread::create([this, path, stop = m_stop]() {
        Verdict verdict = checkOnce(path, false, stop.get());
        if (verdict == Verdict::Damaged)
            verdict = checkOnce(path, true, stop.get());
        if (verdict == Verdict::Stopped)
            return;
        // Delivered on the object's own thread, and dropped should the object be gone by then.
        QMetaObject::invokeMethod(
            this, [this, damaged = verdict == Verdict::Damaged]() { emit finished(damaged); }, Qt::QueuedConnection);
    }));
    m_thread->start(QThread::LowPriority);
}

void WholeFileCheck::stop() {
    if (!m_thread)
        return;
    m_stop->store(true);
    m_thread->wait();
    m_thread.reset();
}

bool WholeFileCheck::isRunning() const { return m_thread && m_thread->isRunning(); }
