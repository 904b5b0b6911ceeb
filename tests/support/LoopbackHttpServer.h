#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <optional>

class QTcpServer;
class QTcpSocket;

// What the server answers on one path. By default: 200 OK, the body sent at once, its real
// length announced in "Content-Length", the connection closed after the body.
struct HttpResponse {
    int status = 200;
    QByteArray reason = "OK";
    // Further header lines, sent as given.
    QList<QPair<QByteArray, QByteArray>> headers;
    // The body, sent piece by piece, with a pause before every piece after the first, so a client
    // sees the parts arrive one by one.
    QList<QByteArray> pieces;
    int pauseMs = 0;
    // Instead of the pieces: this many bytes made up on the fly (see generatedBytes()), sent as
    // fast as the client takes them, never held whole in memory.
    qint64 generatedLength = -1;
    // The "Content-Length" text: the real length unless set; no such header at all if
    // sendContentLength is false. A length above the real one makes a short body.
    std::optional<QByteArray> contentLength;
    bool sendContentLength = true;
    // Send the pieces with "Transfer-Encoding: chunked" (one chunk each) and no length at all.
    bool chunkedEncoding = false;
    // Read the request and never answer.
    bool neverAnswer = false;
    // When set ("user:password"), a request without these Basic credentials gets 401.
    QByteArray basicCredentials;

    static HttpResponse withBody(const QByteArray &content, int status = 200, const QByteArray &reason = "OK");
    static HttpResponse withStatus(int code, const QByteArray &reason);
};

// A real HTTP/1.1 server on 127.0.0.1 at a free port, for tests and benchmarks that need one:
// each path answers as scripted, everything else is "404 Not Found", and every request is kept
// with its headers so a test can look at what the client sent.
class LoopbackHttpServer : public QObject {
    Q_OBJECT

public:
    struct Request {
        QByteArray method;
        QByteArray path;
        QList<QPair<QByteArray, QByteArray>> headers;
        // The value of a header (name compared without regard to case); empty if absent.
        QByteArray header(const QByteArray &name) const;
    };

    // Listens at once; isListening() tells whether that worked. Port 0 takes a free one.
    explicit LoopbackHttpServer(quint16 port = 0, QObject *parent = nullptr);
    ~LoopbackHttpServer() override;

    bool isListening() const;
    quint16 port() const;
    // "http://127.0.0.1:<port>" followed by the path.
    QString url(const QString &path) const;

    void setResponse(const QString &path, const HttpResponse &response);
    QList<Request> requests() const { return m_requests; }
    void clearRequests() { m_requests.clear(); }

    // The generated body's bytes from `offset`, so a client's file can be compared with it.
    static QByteArray generatedBytes(qint64 offset, qint64 length);

private:
    void accept();
    void readRequest(QTcpSocket *socket);
    void answer(QTcpSocket *socket, const Request &request);
    void sendPieces(QTcpSocket *socket, QList<QByteArray> pieces, int pauseMs);
    void sendGenerated(QTcpSocket *socket, qint64 length);

    QTcpServer *m_server;
    QHash<QString, HttpResponse> m_responses;
    QList<Request> m_requests;
    QHash<QTcpSocket *, QByteArray> m_pending;
};
