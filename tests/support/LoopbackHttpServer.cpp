#include "LoopbackHttpServer.h"

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

namespace {

// The generated body repeats a block of this size, itself a pattern of period 251.
constexpr qint64 kGeneratedBlock = 64 * 1024;
constexpr qint64 kGeneratedPeriod = 251;
// How much generated body may wait in the socket's buffer before more is made.
constexpr qint64 kSendAhead = 256 * 1024;

QByteArray generatedBlock() {
    static const QByteArray block = [] {
        QByteArray bytes(kGeneratedBlock, Qt::Uninitialized);
        for (qint64 i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>((i % kGeneratedPeriod) * 7 + 3);
        return bytes;
    }();
    return block;
}

} // namespace

HttpResponse HttpResponse::withBody(const QByteArray &content, int status, const QByteArray &reason) {
    HttpResponse response;
    response.status = status;
    response.reason = reason;
    response.pieces = {content};
    return response;
}

HttpResponse HttpResponse::withStatus(int code, const QByteArray &reason) { return withBody({}, code, reason); }

QByteArray LoopbackHttpServer::Request::header(const QByteArray &name) const {
    for (const auto &line : headers) {
        if (line.first.compare(name, Qt::CaseInsensitive) == 0)
            return line.second;
    }
    return {};
}

LoopbackHttpServer::LoopbackHttpServer(quint16 port, QObject *parent)
    : QObject(parent), m_server(new QTcpServer(this)) {
    connect(m_server, &QTcpServer::newConnection, this, &LoopbackHttpServer::accept);
    m_server->listen(QHostAddress::LocalHost, port);
}

LoopbackHttpServer::~LoopbackHttpServer() = default;

bool LoopbackHttpServer::isListening() const { return m_server->isListening(); }

quint16 LoopbackHttpServer::port() const { return m_server->serverPort(); }

QString LoopbackHttpServer::url(const QString &path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(port()).arg(path);
}

void LoopbackHttpServer::setResponse(const QString &path, const HttpResponse &response) {
    m_responses.insert(path, response);
}

QByteArray LoopbackHttpServer::generatedBytes(qint64 offset, qint64 length) {
    QByteArray bytes(length, Qt::Uninitialized);
    for (qint64 i = 0; i < length; ++i)
        bytes[i] = static_cast<char>(((offset + i) % kGeneratedBlock % kGeneratedPeriod) * 7 + 3);
    return bytes;
}

void LoopbackHttpServer::accept() {
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket]() { readRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket]() {
            m_pending.remove(socket);
            socket->deleteLater();
        });
    }
}

void LoopbackHttpServer::readRequest(QTcpSocket *socket) {
    if (!m_pending.contains(socket) && socket->property("answered").toBool())
        return;
    QByteArray &buffer = m_pending[socket];
    buffer += socket->readAll();
    const int end = buffer.indexOf("\r\n\r\n");
    if (end < 0)
        return;
    const QList<QByteArray> lines = buffer.left(end).split('\n');
    m_pending.remove(socket);
    socket->setProperty("answered", true);

    Request request;
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.path = requestLine.value(1);
    for (int i = 1; i < lines.size(); ++i) {
        const int colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.append({lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed()});
    }
    m_requests.append(request);
    answer(socket, request);
}

void LoopbackHttpServer::answer(QTcpSocket *socket, const Request &request) {
    const QString path = QString::fromLatin1(
        request.path.left(request.path.indexOf('?') < 0 ? request.path.size() : request.path.indexOf('?')));
    HttpResponse response = m_responses.value(path, HttpResponse::withBody("no such file\n", 404, "Not Found"));
    if (response.neverAnswer)
        return;
    if (!response.basicCredentials.isEmpty() &&
        request.header("Authorization") != "Basic " + response.basicCredentials.toBase64()) {
        response = HttpResponse::withBody("who are you?\n", 401, "Unauthorized");
        response.headers.append(qMakePair(QByteArray("WWW-Authenticate"), QByteArray("Basic realm=\"updates\"")));
    }

    qint64 length = response.generatedLength;
    if (length < 0) {
        length = 0;
        for (const QByteArray &piece : response.pieces)
            length += piece.size();
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + response.reason + "\r\n";
    for (const auto &header : response.headers)
        head += header.first + ": " + header.second + "\r\n";
    if (response.chunkedEncoding) {
        head += "Transfer-Encoding: chunked\r\n";
        for (QByteArray &piece : response.pieces)
            piece = QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n";
        response.pieces.append("0\r\n\r\n");
    } else if (response.sendContentLength) {
        head += "Content-Length: " + response.contentLength.value_or(QByteArray::number(length)) + "\r\n";
    }
    head += "Connection: close\r\n\r\n";
    socket->write(head);

    if (response.generatedLength >= 0)
        sendGenerated(socket, response.generatedLength);
    else
        sendPieces(socket, response.pieces, response.pauseMs);
}

void LoopbackHttpServer::sendPieces(QTcpSocket *socket, QList<QByteArray> pieces, int pauseMs) {
    QPointer<QTcpSocket> guarded(socket);
    if (pieces.isEmpty()) {
        socket->disconnectFromHost();
        return;
    }
    socket->write(pieces.takeFirst());
    socket->flush();
    if (pieces.isEmpty()) {
        socket->disconnectFromHost();
        return;
    }
    QTimer::singleShot(pauseMs, this, [this, guarded, pieces, pauseMs]() {
        if (guarded && guarded->state() == QAbstractSocket::ConnectedState)
            sendPieces(guarded, pieces, pauseMs);
    });
}

void LoopbackHttpServer::sendGenerated(QTcpSocket *socket, qint64 length) {
    auto sent = std::make_shared<qint64>(0);
    auto topUp = [socket, sent, length]() {
        const QByteArray block = generatedBlock();
        while (*sent < length && socket->bytesToWrite() < kSendAhead) {
            const qint64 offset = *sent % block.size();
            const qint64 count = qMin<qint64>(block.size() - offset, length - *sent);
            socket->write(block.constData() + offset, count);
            *sent += count;
        }
        if (*sent >= length)
            socket->disconnectFromHost();
    };
    connect(socket, &QTcpSocket::bytesWritten, socket, [topUp, sent, length]() {
        if (*sent < length)
            topUp();
    });
    topUp();
}
