#include "store/EngineSettings.h"
#include "store/StoreMessages.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// Kelto.ini: the engine it chooses, libpq's defaults, the line a malformed file is refused at, and
// the server the settings window writes into it: read back as typed, or refused with the file as it was.
class EngineSettingsTest : public QObject {
    Q_OBJECT
private slots:
    void reads_data();
    void reads();
    void refusesMalformed_data();
    void refusesMalformed();
    void writesTheTypedServer_data();
    void writesTheTypedServer();
};

void EngineSettingsTest::reads_data() {
    QTest::addColumn<QByteArray>("text"); // empty: no file
    QTest::addColumn<bool>("onServer");
    QTest::addColumn<QString>("server"); // serverName()
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("sslMode");
    QTest::newRow("no file") << QByteArray() << false << "" << 5432 << "";
    QTest::newRow("SQLite named") << QByteArray("[Database]\nDriver=SQLITE\n") << false << "" << 5432 << "";
    QTest::newRow("other sections only") << QByteArray("; clinic\n[Window]\nSize=3\n") << false << "" << 5432 << "";
    QTest::newRow("server on a socket")
        << QByteArray("[Database]\nDriver=PSQL\nHost=/run/postgresql\nDatabase=kelto\nUser=room2\n") << true
        << "room2@/run/postgresql:5432/kelto" << 5432 << "prefer";
    QTest::newRow("server elsewhere, port given")
        << QByteArray("[Database]\r\nDriver=psql\r\nHost=db.clinic.lan\r\nPort=6432\r\nDatabase=kelto\r\nUser=r\r\n")
        << true << "r@db.clinic.lan:6432/kelto" << 6432 << "verify-full";
    QTest::newRow("loopback, SSL mode given")
        << QByteArray("[Database]\nDriver=PSQL\nHost=127.0.0.1\nSslMode=require\n") << true << "@127.0.0.1:5432/"
        << 5432 << "require";
}

void EngineSettingsTest::reads() {
    QFETCH(QByteArray, text);
    QFETCH(bool, onServer);
    QFETCH(QString, server);
    QFETCH(int, port);
    QFETCH(QString, sslMode);
    QTemporaryDir dir;
    const QString path = dir.filePath(EngineSettings::fileName());
    if (!text.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    EngineSettings::Choice choice;
    QString error;
    QVERIFY2(EngineSettings::read(path, &choice, &error), qPrintable(error));
    QCOMPARE(choice.onServer, onServer);
    if (onServer)
        QCOMPARE(choice.serverName(), server);
    QCOMPARE(choice.port, port);
    QCOMPARE(choice.sslMode, sslMode);
}

void EngineSettingsTest::refusesMalformed_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");
    QTest::newRow("unknown driver") << QByteArray("; clinic\n[Database]\nDriver=MYSQL\nHost=x\n") << 3 << "MYSQL";
    QTest::newRow("no host") << QByteArray("\n[Database]\nDriver=PSQL\nPort=5432\n") << 2 << "Host";
    QTest::newRow("empty host") << QByteArray("[Database]\nDriver=PSQL\nHost=  \n") << 3 << "Host";
    QTest::newRow("port not a number") << QByteArray("[Database]\nDriver=PSQL\nHost=h\nPort=54a\n") << 4 << "54a";
    QTest::newRow("port out of range") << QByteArray("[Database]\nDriver=PSQL\nHost=h\nPort=70000\n") << 4 << "70000";
    QTest::newRow("unknown SSL mode") << QByteArray("[Database]\nDriver=PSQL\nHost=h\nSslMode=maybe\n") << 4 << "maybe";
    QTest::newRow("not INI") << QByteArray("[Database]\nDriver=PSQL\nHost h\n") << 3 << "INI";
    QTest::newRow("unclosed section") << QByteArray("[Database\nDriver=SQLITE\n") << 1 << "INI";
}

void EngineSettingsTest::refusesMalformed() {
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString path = dir.filePath(EngineSettings::fileName());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    EngineSettings::Choice choice;
    QString error;
    QVERIFY(!EngineSettings::read(path, &choice, &error));
    QVERIFY2(error.startsWith(StoreMessages::cannotOpen(QStringLiteral("%1:%2").arg(path).arg(line), QString())),
             qPrintable(error));
    QVERIFY2(error.contains(reason), qPrintable(error));
}

QTEST_MAIN(EngineSettingsTest)
#include "EngineSettingsTest.moc"

void EngineSettingsTest::writesTheTypedServer_data() {
    QTest::addColumn<QStringList>("typed"); // host, port, database, user
    QTest::addColumn<QString>("outcome");   // the SSL mode read back, or the refusal
    QTest::newRow("elsewhere") << QStringList{" db.lan ", "6432", "kelto", "room2"} << "verify-full";
    QTest::newRow("a socket, a comma, quotes") << QStringList{"/run/pg", "", "\"k\"", "a,b"} << "prefer";
    QTest::newRow("no host") << QStringList{" ", "5432", "k", "r"} << StoreMessages::hostMissing();
    QTest::newRow("port a word") << QStringList{"db", "five", "k", "r"} << StoreMessages::portNotANumber();
    QTest::newRow("a line break") << QStringList{"db", "5432", "k\nDriver=SQLITE", "r"} << "refused";
}

// Written over a file that names the file: its other settings stay; refused, it stays as it was.
void EngineSettingsTest::writesTheTypedServer() {
    QFETCH(QStringList, typed);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString path = dir.filePath(EngineSettings::fileName());
    const QByteArray before("; the clinic's\n[Window]\nSize=3\n[Database]\nDriver=SQLITE\n");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) && file.flush());
    file.close();
    const EngineSettings::Typed server{typed.at(0), typed.at(1), typed.at(2), typed.at(3)};
    QString error;
    EngineSettings::Choice read;
    EngineSettings::Choice tested;
    if (EngineSettings::writeServer(path, server, &error)) {
        QVERIFY2(EngineSettings::read(path, &read, &error) &&
                     EngineSettings::typedServer(path, server, &tested, &error),
                 qPrintable(error));
        QCOMPARE(QStringList({read.host, QString::number(read.port), read.database, read.user, read.sslMode}),
                 QStringList({typed.at(0).trimmed(), typed.at(1).isEmpty() ? "5432" : typed.at(1), typed.at(2),
                              typed.at(3), outcome}));
        QCOMPARE(tested.serverName() + tested.sslMode, read.serverName() + read.sslMode); // tested as read
        QCOMPARE(QSettings(path, QSettings::IniFormat).value("Window/Size").toString(), QStringLiteral("3"));
        return;
    }
    QCOMPARE(error, outcome == QLatin1String("refused") ? StoreMessages::cannotWriteServer(path) : outcome);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}
