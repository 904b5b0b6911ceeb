#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>

class QEventLoop;
class QFile;
class QNetworkAccessManager;
class QNetworkReply;

// Downloads one HTTP resource into one local file and tells its host what happens through
// signals, never through a thrown failure. DownloadFile returns only when the download has
// ended, but lets the host's events run while it waits and after every chunk, so the host's
// buttons, timers and handlers keep working (a handler may call Cancel()). The body is read in
// chunks of at most 1024 bytes and each chunk is written at once: memory does not grow with
// the size of the file.
//
// On screen the component is a small picture of a fixed size.
class FileDownloader : public QWidget {
    Q_OBJECT

public:
    // A request that gets no answer and no data for this long counts as a connection that failed.
    static constexpr int kNoDataTimeoutMs = 30000;

    explicit FileDownloader(QWidget *parent = nullptr);
    ~FileDownloader() override;

    // Fetches strURL into strDestination (replacing any file of that name). True when the bytes
    // received equal the announced length at the end, which includes every case where nothing
    // was announced (a status error, a response without length, a cancel before the response).
    // A second call while one is running is refused (false, no signal).
    bool DownloadFile(const QString &strURL, const QString &strDestination, const QString &UserName = {},
                      const QString &Password = {});
    // Sets the cancel flag; the running download notices it at its next check.
    void Cancel();

    bool isBusy() const { return m_busy; }
    void setNoDataTimeout(int milliseconds) { m_noDataTimeoutMs = milliseconds; }

signals:
    void DownloadErrors(QString strError);
    void DownloadEvents(QString strEvent);
    void DowloadComplete();
    void DownloadProgress(QString intPercent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void report(const QString &message);
    void reportUnexpected(const QString &description);
    void reportWriteFailure(int number, const QString &description);
    void pump();
    void waitForTransfer();

    void startRequest(const QString &address, const QString &userName, const QString &password);
    bool waitForResponse();
    bool checkStatus(const QString &address);
    bool readAnnouncedLength(qint32 *announced);
    bool enoughFreeSpace(const QString &destination, qint32 announced);
    void receiveBody(const QString &destination, qint32 announced, qint32 *received);
    bool writeChunks(QFile &file, qint32 announced, qint32 *received);
    QByteArray readChunk();
    bool finish(const QString &destination, qint32 received, qint32 announced);

    QNetworkAccessManager *m_manager;
    QPointer<QNetworkReply> m_reply;
    QPointer<QEventLoop> m_wait;
    QElapsedTimer m_sinceNews;
    QString m_userName;
    QString m_password;
    bool m_credentialsOffered = false;
    bool m_headersSeen = false;
    bool m_cancel = false;
    bool m_busy = false;
    int m_noDataTimeoutMs = kNoDataTimeoutMs;
};
