#include "updater/FileDownloader.h"

#include "common/Twips.h"
#include "updater/DownloadResponse.h"

#include <QAuthenticator>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPainter>
#include <QPainterPath>
#include <QStorageInfo>
#include <QTimer>

#include <limits>

namespace {

constexpr qint64 kChunkSize = 1024;
// The reply holds at most this much unread body; the rest waits in the network, so memory does
// not grow with the size of the file.
constexpr qint64 kReplyBufferSize = 1024 * 1024;
// How long one wait for the network lasts before the host's events and the cancel flag are
// looked at again.
constexpr int kWaitSliceMs = 20;

// The response head as one text, status line first, lines ended by CR LF; empty when no
// response came at all.
QString headerText(QNetworkReply *reply) {
    const QVariant code = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!code.isValid())
        return {};
    const QByteArray reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
    QString text = QStringLiteral("HTTP/1.1 ") + QString::number(code.toInt()) + QLatin1Char(' ') +
                   QString::fromLatin1(reason) + QStringLiteral("\r\n");
    for (const auto &header : reply->rawHeaderPairs())
        text += QString::fromLatin1(header.first) + QStringLiteral(": ") + QString::fromLatin1(header.second) +
                QStringLiteral("\r\n");
    return text + QStringLiteral("\r\n");
}

// The nearest folder of `path` that exists, so the free space of a folder still to be created
// is asked of the disk it will be created on.
QString nearestExistingFolder(const QString &path) {
    QString folder = QFileInfo(path).absolutePath();
    while (!QFileInfo::exists(folder)) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

} // namespace

FileDownloader::FileDownloader(QWidget *parent) : QWidget(parent), m_manager(new QNetworkAccessManager(this)) {
    setFixedSize(twipsSize(1020, 945));
    connect(m_manager, &QNetworkAccessManager::authenticationRequired, this,
            [this](QNetworkReply *reply, QAuthenticator *authenticator) {
                // The caller's user name and password are offered once; if the server refuses them,
                // the 401 answer stands.
                if (reply != m_reply || m_credentialsOffered || (m_userName.isEmpty() && m_password.isEmpty()))
                    return;
                m_credentialsOffered = true;
                authenticator->setUser(m_userName);
                authenticator->setPassword(m_password);
            });
}

FileDownloader::~FileDownloader() {
    if (m_reply)
        m_reply->abort();
}

bool FileDownloader::DownloadFile(const QString &strURL, const QString &strDestination, const QString &UserName,
                                  const QString &Password) {
    if (m_busy)
        return false;
    m_busy = true;
    m_cancel = false;
    emit DownloadEvents(QStringLiteral("Getting file information"));
    pump();

    qint32 received = 0;
    qint32 announced = 0;
    startRequest(strURL, UserName, Password);
    if (waitForResponse() && checkStatus(strURL) && readAnnouncedLength(&announced) && announced != 0 &&
        enoughFreeSpace(strDestination, announced)) {
        pump();
        receiveBody(strDestination, announced, &received);
    }
    const bool result = finish(strDestination, received, announced);
    m_busy = false;
    return result;
}

void FileDownloader::Cancel() {
    m_cancel = true;
    if (m_wait)
        m_wait->quit();
}

// Reports a failure to the host and sets the cancel flag, so the end step raises no second one.
void FileDownloader::report(const QString &message) {
    emit DownloadErrors(message);
    m_cancel = true;
}

void FileDownloader::reportUnexpected(const QString &description) {
    report(QStringLiteral("Error: ") + description + QStringLiteral(" occurred."));
}

void FileDownloader::reportWriteFailure(int number, const QString &description) {
    report(QStringLiteral("Cannot write file to disk.") + QStringLiteral("\r\r") + QStringLiteral("Error ") +
           QString::number(number) + QStringLiteral(": ") + description);
}

void FileDownloader::pump() { QCoreApplication::processEvents(); }

// Lets the host's events run until the transfer has news, Cancel() is called, or a short slice
// has passed.
void FileDownloader::waitForTransfer() {
    QEventLoop loop;
    m_wait = &loop;
    QTimer::singleShot(kWaitSliceMs, &loop, &QEventLoop::quit);
    connect(m_reply, &QNetworkReply::readyRead, &loop, &QEventLoop::quit);
    connect(m_reply, &QNetworkReply::metaDataChanged, &loop, &QEventLoop::quit);
    connect(m_reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!m_cancel)
        loop.exec();
    m_wait = nullptr;
}

void FileDownloader::startRequest(const QString &address, const QString &userName, const QString &password) {
    // Credentials and connections of an earlier download are forgotten: every call stands alone.
    m_manager->clearAccessCache();
    m_userName = userName;
    m_password = password;
    m_credentialsOffered = false;
    m_headersSeen = false;

    QNetworkRequest request{QUrl(address)};
    // "Range: bytes=" + bytes received + "-", with nothing received yet: always the whole body from
    // its first byte, since resuming is not offered.
    request.setRawHeader("Range", QByteArrayLiteral("bytes=") + QByteArray::number(0) + QByteArrayLiteral("-"));
    // The body must arrive as the bytes the server counted in its length, not decompressed.
    request.setRawHeader("Accept-Encoding", "identity");
    m_reply = m_manager->get(request);
    m_reply->setReadBufferSize(kReplyBufferSize);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, [this]() {
        m_headersSeen = true;
        m_sinceNews.restart();
    });
    connect(m_reply, &QNetworkReply::readyRead, this, [this]() { m_sinceNews.restart(); });
    m_sinceNews.start();
}

// Waits, pumping, until the response head is in (or the request has ended); false when the cancel
// flag was set meanwhile. A server that stays silent too long is dropped, which reads as no
// connection.
bool FileDownloader::waitForResponse() {
    for (;;) {
        const QVariant code = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        const bool redirecting = code.toInt() >= 300 && code.toInt() < 400;
        if (m_reply->isFinished() || (m_headersSeen && code.isValid() && !redirecting))
            return true;
        waitForTransfer();
        if (m_cancel)
            return false;
        if (m_sinceNews.hasExpired(m_noDataTimeoutMs))
            m_reply->abort();
    }
}

bool FileDownloader::checkStatus(const QString &address) {
    const QString head = headerText(m_reply);
    if (head.isEmpty()) {
        // A request the network layer could not even send (no usable address, unknown scheme) is
        // an unexpected failure; every other missing answer is a connection that failed.
        const QNetworkReply::NetworkError error = m_reply->error();
        if (error == QNetworkReply::ProtocolUnknownError || error == QNetworkReply::ProtocolInvalidOperationError ||
            !m_reply->url().isValid()) {
            reportUnexpected(m_reply->errorString());
            return false;
        }
    }
    const QString currentAddress = m_reply->url().isValid() ? m_reply->url().toString() : address;
    const StatusVerdict verdict = judgeStatus(head, currentAddress);
    if (!verdict.proceed)
        report(verdict.message);
    return verdict.proceed;
}

bool FileDownloader::readAnnouncedLength(qint32 *announced) {
    const QString value = QString::fromLatin1(m_reply->rawHeader("Content-Length"));
    if (!announcedLength(value, announced)) {
        reportUnexpected(QStringLiteral("Overflow"));
        return false;
    }
    return true;
}

bool FileDownloader::enoughFreeSpace(const QString &destination, qint32 announced) {
    const QStorageInfo disk(nearestExistingFolder(destination));
    if (disk.isValid() && disk.isReady() && disk.bytesAvailable() < announced) {
        report(QStringLiteral("There is not enough free space on disk for this file."));
        return false;
    }
    return true;
}

// Creates the destination's folder (its last level only), writes the body into a file that
// starts empty, and closes it. Any failure here is a write failure.
void FileDownloader::receiveBody(const QString &destination, qint32 announced, qint32 *received) {
    const QString folder = destination.left(destination.lastIndexOf(QLatin1Char('/')) + 1);
    if (!folder.isEmpty() && !QDir(folder).exists() && !QDir().mkdir(folder)) {
        reportWriteFailure(QFileDevice::OpenError, QStringLiteral("Cannot create the folder ") + folder);
        return;
    }
    QFile file(destination);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        reportWriteFailure(file.error(), file.errorString());
        return;
    }
    if (!writeChunks(file, announced, received))
        return;
    if (!file.flush()) {
        reportWriteFailure(file.error(), file.errorString());
        return;
    }
    file.close();
}

// The read loop: every chunk is written, counted and announced as a percentage, then the host's
// events run. The empty read that ends the body is announced too. False after a write failure.
bool FileDownloader::writeChunks(QFile &file, qint32 announced, qint32 *received) {
    for (;;) {
        const QByteArray chunk = readChunk();
        if (!chunk.isEmpty() && file.write(chunk) != chunk.size()) {
            reportWriteFailure(file.error(), file.errorString());
            return false;
        }
        if (m_cancel)
            return true;
        if (*received > std::numeric_limits<qint32>::max() - chunk.size()) {
            reportWriteFailure(QFileDevice::ReadError, QStringLiteral("Overflow"));
            return false;
        }
        *received += chunk.size();
        emit DownloadProgress(progressPercent(*received, announced));
        pump();
        if (chunk.isEmpty())
            return true;
    }
}

// The next part of the body, at most 1024 bytes. While the transfer runs and has nothing new yet,
// waits with the host's events running. Empty when the body is exhausted, when the transfer ended
// early, when the server fell silent too long, or when the cancel flag is set.
QByteArray FileDownloader::readChunk() {
    for (;;) {
        QByteArray chunk = m_reply->read(kChunkSize);
        if (!chunk.isEmpty() || m_reply->isFinished() || m_cancel)
            return chunk;
        if (m_sinceNews.hasExpired(m_noDataTimeoutMs)) {
            m_reply->abort();
            return {};
        }
        waitForTransfer();
    }
}

// The end step, which every path reaches.
bool FileDownloader::finish(const QString &destination, qint32 received, qint32 announced) {
    bool result = true;
    if (received == announced) {
        if (!m_cancel)
            emit DowloadComplete();
    } else {
        if (!QFileInfo::exists(destination))
            m_cancel = true;
        else if (!m_cancel)
            emit DownloadErrors(QStringLiteral("The connection with the server was reset."));
        if (QFileInfo::exists(destination))
            QFile::remove(destination);
        result = false;
    }
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
        m_reply = nullptr;
    }
    return result;
}

// The component's picture: an arrow going down into a tray.
void FileDownloader::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(4, 4, -4, -4);
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0x5b, 0x9b, 0xd5));

    const qreal midX = area.center().x();
    const qreal shaftHalf = area.width() * 0.12;
    const qreal headHalf = area.width() * 0.3;
    const qreal headTop = area.top() + area.height() * 0.4;
    const qreal tip = area.top() + area.height() * 0.72;
    QPainterPath arrow;
    arrow.moveTo(midX - shaftHalf, area.top());
    arrow.lineTo(midX + shaftHalf, area.top());
    arrow.lineTo(midX + shaftHalf, headTop);
    arrow.lineTo(midX + headHalf, headTop);
    arrow.lineTo(midX, tip);
    arrow.lineTo(midX - headHalf, headTop);
    arrow.lineTo(midX - shaftHalf, headTop);
    arrow.closeSubpath();
    painter.drawPath(arrow);

    painter.setBrush(Qt::NoBrush);
    const qreal trayTop = area.top() + area.height() * 0.78;
    QPainterPath tray;
    tray.moveTo(area.left(), trayTop);
    tray.lineTo(area.left(), area.bottom());
    tray.lineTo(area.right(), area.bottom());
    tray.lineTo(area.right(), trayTop);
    painter.drawPath(tray);
}
