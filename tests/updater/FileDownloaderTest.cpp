#include "updater/FileDownloader.h"
#include "support/LoopbackHttpServer.h"

#include <QFile>
#include <QStorageInfo>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// What one call of DownloadFile did, as its host saw it.
struct Outcome {
    bool result = false;
    QStringList errors;
    QStringList events;
    QStringList progress;
    int completions = 0;
};

using ProgressHandler = std::function<void(FileDownloader &, const QString &)>;

Outcome download(FileDownloader &downloader, const QString &address, const QString &destination,
                 const ProgressHandler &onProgress = {}, const QString &user = {}, const QString &password = {}) {
    Outcome outcome;
    QObject scope;
    QObject::connect(&downloader, &FileDownloader::DownloadErrors, &scope,
                     [&](const QString &text) { outcome.errors << text; });
    QObject::connect(&downloader, &FileDownloader::DownloadEvents, &scope,
                     [&](const QString &text) { outcome.events << text; });
    QObject::connect(&downloader, &FileDownloader::DowloadComplete, &scope, [&]() { ++outcome.completions; });
    QObject::connect(&downloader, &FileDownloader::DownloadProgress, &scope, [&](const QString &percent) {
        outcome.progress << percent;
        if (onProgress)
            onProgress(downloader, percent);
    });
    outcome.result = downloader.DownloadFile(address, destination, user, password);
    return outcome;
}

QByteArray contentOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

// A slow body: the given pieces with a pause before each after the first, so every piece is read
// on its own.
HttpResponse inPieces(const QList<QByteArray> &pieces) {
    HttpResponse response;
    response.pieces = pieces;
    response.pauseMs = 250;
    return response;
}

const QByteArray kOlderFile = "an older download that is longer than any body served here";

} // namespace

Q_DECLARE_METATYPE(HttpResponse)

class FileDownloaderTest : public QObject {
    Q_OBJECT

private:
    LoopbackHttpServer *m_server = nullptr;
    QTemporaryDir *m_folder = nullptr;

    QString destination() const { return m_folder->filePath(QStringLiteral("setup-Kelto.exe")); }

private slots:
    void init() {
        m_server = new LoopbackHttpServer;
        QVERIFY(m_server->isListening());
        m_folder = new QTemporaryDir;
        QVERIFY(m_folder->isValid());
    }

    void cleanup() {
        delete m_server;
        delete m_folder;
    }

    // Every answer of the server against the failure table: result, the one message, the
    // completion event, and what became of an older file of the same name.
    void answers_data() {
        QTest::addColumn<HttpResponse>("response");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("completed");
        QTest::addColumn<QByteArray>("fileAfter"); // null: no file left

        const QByteArray body = "MZ the new installer";
        QTest::newRow("200 replaces the older, longer file")
            << HttpResponse::withBody(body) << true << "" << true << body;
        QTest::newRow("206 goes on like 200")
            << HttpResponse::withBody(body, 206, "Partial Content") << true << "" << true << body;
        QTest::newRow("204") << HttpResponse::withStatus(204, "No Content") << true << "Nothing to download!" << false
                             << kOlderFile;
        QTest::newRow("401") << HttpResponse::withStatus(401, "Unauthorized") << true << "Authorization failed!"
                             << false << kOlderFile;
        QTest::newRow("500") << HttpResponse::withBody("boom", 500, "Internal Server Error") << true
                             << "The server returned the following response:\r\rHTTP/1.1 500 Internal Server Error\r"
                             << false << kOlderFile;
        HttpResponse noLength = HttpResponse::withBody(body);
        noLength.sendContentLength = false;
        QTest::newRow("no length: complete at once, nothing written") << noLength << true << "" << true << kOlderFile;
        HttpResponse chunked = inPieces({"MZ the new", " installer"});
        chunked.chunkedEncoding = true;
        QTest::newRow("chunked, so no length: complete at once") << chunked << true << "" << true << kOlderFile;
        HttpResponse zero = HttpResponse::withBody({});
        QTest::newRow("length 0: complete at once") << zero << true << "" << true << kOlderFile;

        HttpResponse shortBody = HttpResponse::withBody(body);
        shortBody.contentLength = QByteArray::number(body.size() + 100);
        QTest::newRow("body shorter than announced")
            << shortBody << false << "The connection with the server was reset." << false << QByteArray();

        HttpResponse huge = HttpResponse::withBody(body);
        huge.contentLength = "3000000000";
        QTest::newRow("length beyond 32 bits") << huge << true << "Error: Overflow occurred." << false << kOlderFile;
    }

    void answers() {
        QFETCH(HttpResponse, response);
        QFETCH(bool, result);
        QFETCH(QString, error);
        QFETCH(bool, completed);
        QFETCH(QByteArray, fileAfter);

        writeFile(destination(), kOlderFile);
        m_server->setResponse(QStringLiteral("/Soft/Kelto/setup-Kelto.exe"), response);
        FileDownloader downloader;
        const Outcome outcome =
            download(downloader, m_server->url(QStringLiteral("/Soft/Kelto/setup-Kelto.exe")), destination());

        QCOMPARE(outcome.result, result);
        QCOMPARE(outcome.errors, error.isEmpty() ? QStringList() : QStringList{error});
        QCOMPARE(outcome.completions, completed ? 1 : 0);
        QCOMPARE(outcome.events, QStringList{QStringLiteral("Getting file information")});
        QCOMPARE(QFile::exists(destination()), !fileAfter.isNull());
        if (!fileAfter.isNull())
            QCOMPARE(contentOf(destination()), fileAfter);

        QCOMPARE(m_server->requests().size(), 1);
        QCOMPARE(m_server->requests().first().method, QByteArray("GET"));
        QCOMPARE(m_server->requests().first().header("Range"), QByteArray("bytes=0-"));
    }

    void missingFileNamesTheAddress() {
        const QString address = m_server->url(QStringLiteral("/Soft/Kelto/nothing-here.exe"));
        FileDownloader downloader;
        const Outcome outcome = download(downloader, address, destination());
        QCOMPARE(outcome.errors, QStringList{"The file, \"" + address + "\" was not found!"});
        QVERIFY(outcome.result);
        QVERIFY(!QFile::exists(destination()));
    }

    void noServerListening() {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        FileDownloader downloader;
        const Outcome outcome =
            download(downloader, QStringLiteral("http://127.0.0.1:%1/setup-Kelto.exe").arg(port), destination());
        QCOMPARE(outcome.errors, QStringList{QStringLiteral("Cannot establish connection.")});
        QVERIFY(outcome.result);
        QCOMPARE(outcome.completions, 0);
    }

    void silentServerTimesOut() {
        HttpResponse silent;
        silent.neverAnswer = true;
        m_server->setResponse(QStringLiteral("/silent.exe"), silent);
        FileDownloader downloader;
        downloader.setNoDataTimeout(300);
        const Outcome outcome = download(downloader, m_server->url(QStringLiteral("/silent.exe")), destination());
        QCOMPARE(outcome.errors, QStringList{QStringLiteral("Cannot establish connection.")});
        QVERIFY(outcome.result);
    }

    void serverFallingSilentMidBodyTimesOut() {
        HttpResponse stalled = HttpResponse::withBody("first part");
        stalled.contentLength = "100";
        stalled.pieces = {"first part", "second part"};
        stalled.pauseMs = 60000;
        m_server->setResponse(QStringLiteral("/stalled.exe"), stalled);
        FileDownloader downloader;
        downloader.setNoDataTimeout(300);
        const Outcome outcome = download(downloader, m_server->url(QStringLiteral("/stalled.exe")), destination());
        QCOMPARE(outcome.errors, QStringList{QStringLiteral("The connection with the server was reset.")});
        QVERIFY(!outcome.result);
        QVERIFY(!QFile::exists(destination()));
    }

    void unknownSchemeIsAnUnexpectedFailure() {
        FileDownloader downloader;
        const Outcome outcome = download(downloader, QStringLiteral("gopher://127.0.0.1/setup.exe"), destination());
        QCOMPARE(outcome.errors.size(), 1);
        QVERIFY2(outcome.errors.first().startsWith("Error: ") && outcome.errors.first().endsWith(" occurred."),
                 qPrintable(outcome.errors.first()));
        QVERIFY(outcome.result);
    }

    void progress_data() {
        QTest::addColumn<QList<QByteArray>>("pieces");
        QTest::addColumn<QStringList>("percentages");

        QTest::newRow("1 of 3") << QList<QByteArray>{"a", "bc"} << QStringList{"33", "100", "100"};
        QTest::newRow("1 and 3 of 8, halves to even")
            << QList<QByteArray>{"a", "bc", "defgh"} << QStringList{"12", "38", "100", "100"};
        QTest::newRow("a single byte mid-body does not end the loop")
            << QList<QByteArray>{"abcd", "e", "fgh"} << QStringList{"50", "62", "100", "100"};
    }

    void progress() {
        QFETCH(QList<QByteArray>, pieces);
        QFETCH(QStringList, percentages);
        m_server->setResponse(QStringLiteral("/slow.exe"), inPieces(pieces));
        FileDownloader downloader;
        const Outcome outcome = download(downloader, m_server->url(QStringLiteral("/slow.exe")), destination());
        QCOMPARE(outcome.progress, percentages);
        QVERIFY(outcome.result);
        QCOMPARE(contentOf(destination()), pieces.join());
    }

    void largeBodyArrivesWholeInSmallChunks() {
        const qint64 size = 300000;
        HttpResponse generated;
        generated.generatedLength = size;
        m_server->setResponse(QStringLiteral("/large.exe"), generated);
        FileDownloader downloader;
        const Outcome outcome = download(downloader, m_server->url(QStringLiteral("/large.exe")), destination());
        QVERIFY(outcome.result);
        QCOMPARE(outcome.completions, 1);
        QCOMPARE(contentOf(destination()), LoopbackHttpServer::generatedBytes(0, size));
        // No read is larger than 1024 bytes, so there is at least one event per KiB, plus the final one.
        QVERIFY(outcome.progress.size() >= (size + 1023) / 1024 + 1);
        QCOMPARE(outcome.progress.mid(outcome.progress.size() - 2), (QStringList{"100", "100"}));
    }

    void cancelWhileWaitingForTheAnswer() {
        HttpResponse silent;
        silent.neverAnswer = true;
        m_server->setResponse(QStringLiteral("/silent.exe"), silent);
        FileDownloader downloader;
        QTimer::singleShot(200, &downloader, &FileDownloader::Cancel);
        const Outcome outcome = download(downloader, m_server->url(QStringLiteral("/silent.exe")), destination());
        QVERIFY(outcome.result);
        QVERIFY(outcome.errors.isEmpty());
        QCOMPARE(outcome.completions, 0);
        QVERIFY(!QFile::exists(destination()));
    }

    // Cancel from the progress handler: after the first piece the file is removed; after the last
    // data the count is whole, so the file stays and the result is true, without completion.
    void cancelWhileWriting_data() {
        QTest::addColumn<QString>("cancelAt");
        QTest::addColumn<bool>("result");
        QTest::addColumn<bool>("fileKept");
        QTest::newRow("after the first piece") << "25" << false << false;
        QTest::newRow("after the last data") << "100" << true << true;
    }

    void cancelWhileWriting() {
        QFETCH(QString, cancelAt);
        QFETCH(bool, result);
        QFETCH(bool, fileKept);
        writeFile(destination(), kOlderFile);
        m_server->setResponse(QStringLiteral("/slow.exe"), inPieces({"a", "b", "c", "d"}));
        FileDownloader downloader;
        const Outcome outcome = download(downloader, m_server->url(QStringLiteral("/slow.exe")), destination(),
                                         [&](FileDownloader &d, const QString &percent) {
                                             if (percent == cancelAt)
                                                 d.Cancel();
                                         });
        QCOMPARE(outcome.result, result);
        QVERIFY(outcome.errors.isEmpty());
        QCOMPARE(outcome.completions, 0);
        QCOMPARE(outcome.progress.last(), cancelAt);
        QCOMPARE(outcome.progress.count(cancelAt), 1);
        QCOMPARE(QFile::exists(destination()), fileKept);
    }

    void missingFolders_data() {
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<bool>("created");
        QTest::newRow("parent exists: the folder is made") << "new/setup-Kelto.exe" << true;
        QTest::newRow("parent missing too: write failure") << "a/b/setup-Kelto.exe" << false;
    }

    void missingFolders() {
        QFETCH(QString, relativePath);
        QFETCH(bool, created);
        m_server->setResponse(QStringLiteral("/setup-Kelto.exe"), HttpResponse::withBody("installer"));
        const QString target = m_folder->filePath(relativePath);
        FileDownloader downloader;
        const Outcome outcome = download(downloader, m_server->url(QStringLiteral("/setup-Kelto.exe")), target);
        QCOMPARE(outcome.result, created);
        QCOMPARE(QFile::exists(target), created);
        if (created) {
            QVERIFY(outcome.errors.isEmpty());
            QCOMPARE(contentOf(target), QByteArray("installer"));
        } else {
            QCOMPARE(outcome.errors.size(), 1);
            QVERIFY2(outcome.errors.first().startsWith("Cannot write file to disk.\r\rError "),
                     qPrintable(outcome.errors.first()));
            QVERIFY(!QFile::exists(m_folder->filePath("a")));
        }
    }

    void destinationThatIsAFolderIsAWriteFailure() {
        m_server->setResponse(QStringLiteral("/setup-Kelto.exe"), HttpResponse::withBody("installer"));
        FileDownloader downloader;
        const Outcome outcome =
            download(downloader, m_server->url(QStringLiteral("/setup-Kelto.exe")), m_folder->path() + "/");
        QVERIFY(!outcome.result);
        QCOMPARE(outcome.errors.size(), 1);
        QVERIFY(outcome.errors.first().startsWith("Cannot write file to disk.\r\rError "));
        QVERIFY(QFileInfo(m_folder->path()).isDir());
    }

    // A disk that reports no free room at all (the process file system) stands in for a full one.
    void notEnoughFreeSpace() {
        const QStorageInfo full(QStringLiteral("/proc"));
        if (!full.isValid() || full.bytesAvailable() > 0)
            QSKIP("no mounted file system here reports zero free bytes");
        m_server->setResponse(QStringLiteral("/setup-Kelto.exe"), HttpResponse::withBody("installer"));
        FileDownloader downloader;
        const Outcome outcome = download(downloader, m_server->url(QStringLiteral("/setup-Kelto.exe")),
                                         QStringLiteral("/proc/kelto-updates/setup-Kelto.exe"));
        QCOMPARE(outcome.errors, QStringList{"There is not enough free space on disk for this file."});
        QVERIFY(!outcome.result);
        QCOMPARE(outcome.completions, 0);
        QVERIFY(outcome.progress.isEmpty());
    }

    void credentials_data() {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("right") << "kelto"
                               << "s3cret" << true;
        QTest::newRow("wrong password") << "kelto"
                                        << "guess" << false;
        QTest::newRow("none") << ""
                              << "" << false;
    }

    void credentials() {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, accepted);
        HttpResponse guarded = HttpResponse::withBody("for members");
        guarded.basicCredentials = "kelto:s3cret";
        m_server->setResponse(QStringLiteral("/members.exe"), guarded);
        FileDownloader downloader;
        const Outcome outcome =
            download(downloader, m_server->url(QStringLiteral("/members.exe")), destination(), {}, user, password);
        QCOMPARE(outcome.completions, accepted ? 1 : 0);
        QCOMPARE(outcome.errors, accepted ? QStringList() : QStringList{"Authorization failed!"});
        QCOMPARE(QFile::exists(destination()), accepted);
    }

    void credentialsDoNotCarryOverToTheNextCall() {
        HttpResponse guarded = HttpResponse::withBody("for members");
        guarded.basicCredentials = "kelto:s3cret";
        m_server->setResponse(QStringLiteral("/members.exe"), guarded);
        FileDownloader downloader;
        const QString address = m_server->url(QStringLiteral("/members.exe"));
        QCOMPARE(download(downloader, address, destination(), {}, "kelto", "s3cret").completions, 1);
        QCOMPARE(download(downloader, address, destination()).errors, QStringList{"Authorization failed!"});
    }

    void redirectIsFollowed() {
        HttpResponse moved = HttpResponse::withStatus(302, "Found");
        moved.headers.append(qMakePair(QByteArray("Location"), QByteArray("/Soft/Kelto/setup-Kelto.exe")));
        m_server->setResponse(QStringLiteral("/old.exe"), moved);
        m_server->setResponse(QStringLiteral("/Soft/Kelto/setup-Kelto.exe"), HttpResponse::withBody("moved here"));
        FileDownloader downloader;
        const Outcome outcome = download(downloader, m_server->url(QStringLiteral("/old.exe")), destination());
        QVERIFY(outcome.result);
        QCOMPARE(outcome.completions, 1);
        QCOMPARE(contentOf(destination()), QByteArray("moved here"));
    }

    void secondCallWhileRunningIsRefused() {
        m_server->setResponse(QStringLiteral("/slow.exe"), inPieces({"a", "b"}));
        FileDownloader downloader;
        bool nestedResult = true;
        int nestedCalls = 0;
        const Outcome outcome =
            download(downloader, m_server->url(QStringLiteral("/slow.exe")), destination(),
                     [&](FileDownloader &d, const QString &) {
                         if (nestedCalls++ == 0)
                             nestedResult = d.DownloadFile(m_server->url("/slow.exe"), destination() + ".other");
                     });
        QVERIFY(!nestedResult);
        QVERIFY(outcome.result);
        QCOMPARE(outcome.events.size(), 1);
        QCOMPARE(outcome.completions, 1);
        QCOMPARE(m_server->requests().size(), 1);
        QVERIFY(!QFile::exists(destination() + ".other"));
    }
};

QTEST_MAIN(FileDownloaderTest)
#include "FileDownloaderTest.moc"
