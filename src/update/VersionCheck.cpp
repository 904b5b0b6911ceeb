#include "update/VersionCheck.h"

#include "common/TextValue.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>

VersionCheck::VersionCheck(const QUrl &versionFile) : m_versionFile(versionFile) {}

QUrl VersionCheck::versionFile() const { return m_versionFile; }

void VersionCheck::setVersionFile(const QUrl &versionFile) { m_versionFile = versionFile; }

int VersionCheck::timeoutMs() const { return m_timeoutMs; }

void VersionCheck::setTimeoutMs(int timeoutMs) { m_timeoutMs = timeoutMs; }

QString VersionCheck::fetchVersionText() const {
    QNetworkAccessManager manager;
    QNetworkRequest request(m_versionFile);
    // A cached copy could hide a release published since.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = manager.get(request);

    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    // abort() finishes the reply with an error, which ends the loop below.
    QObject::connect(&deadline, &QTimer::timeout, reply, &QNetworkReply::abort);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(m_timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    // An error status (404, 500 ...) is an error of the reply as well: its page is not the file.
    const bool ok = reply->error() == QNetworkReply::NoError;
    const QByteArray body = ok ? reply->readAll() : QByteArray();
    delete reply;
    // The file is plain ASCII; decoding it as UTF-8 also drops a byte-order mark an editor may
    // have put before the number.
    QStringDecoder decoder(QStringDecoder::Utf8);
    return decoder.decode(body);
}

bool isNewerVersion(const QString &serverText, const QString &runningText) {
    return textValue(serverText) > textValue(runningText);
}
