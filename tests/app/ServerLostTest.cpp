#include "support/ModalDriver.h"
#include "support/PostgresServer.h"
#include "support/TempProgramFolder.h"
#include "support/Typing.h"

#include "app/KeltoStart.h"
#include "store/Database.h"
#include "store/EngineSettings.h"
#include "store/StoreMessages.h"
#include "testrun/FrmTest.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

// The server stopped while Kelto works on it, before a save: the save is refused with a message
// naming the server and libpq's reason (one box, not two), nothing half written is left, the window
// keeps what was typed, and the same save succeeds once the server is back, without a restart: in
// the registration panel, then in the test window (its details corrected and an answer typed).
class ServerLostTest : public QObject {
    Q_OBJECT
private slots:
    void savesWaitForTheServerWithTheTextKept();

private:
    template <class T = QWidget> T *control(QWidget *window, const char *name) {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QString press(QWidget *window, const char *button) {
        return boxTextsShownBy([&]() { QTest::mouseClick(control(window, button), Qt::LeftButton); });
    }
    // As the server holds them: examinees/answer rows/examinees with their answer row/code:first name.
    QString rowsOnServer();
    // One box, naming the server, with libpq's reason after the message.
    void checkLostInSave(const QString &shown);
    void restartServer() {
        QString error;
        QVERIFY2(m_server.start(&error), qPrintable(error));
    }

    PostgresServer m_server;
};

QString ServerLostTest::rowsOnServer() {
    QString rows;
    m_server.runSql(
        QStringLiteral("lost"),
        QStringLiteral("SELECT (SELECT count(*) FROM \"IDE\") || '/' || (SELECT count(*) FROM \"Answer\") "
                       "|| '/' || (SELECT count(*) FROM \"IDE\" JOIN \"Answer\" USING (\"Code\")) || '/' || "
                       "(SELECT coalesce(string_agg(\"Code\" || ':' || \"FName\", ','), '') FROM \"IDE\")"),
        &rows);
    return rows;
}

void ServerLostTest::checkLostInSave(const QString &shown) {
    const QString server = Database::serverInUse().serverName();
    const QString lost = StoreMessages::serverLostInSave(server, QString());
    QVERIFY2(shown.startsWith(lost) && shown.size() > lost.size(), qPrintable(shown));
    QCOMPARE(shown.count(server), 1);
}

void ServerLostTest::savesWaitForTheServerWithTheTextKept() {
    TempProgramFolder folder;
    QString error;
    QVERIFY2(m_server.start(&error) && m_server.createDatabase(QStringLiteral("lost"), &error), qPrintable(error));
    QFile settings(folder.filePath(EngineSettings::fileName()));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write(QStringLiteral("[Database]\nDriver=PSQL\nHost=%1\nDatabase=lost\nUser=%2\n")
                       .arg(m_server.socketFolder(), m_server.user())
                       .toUtf8());
    settings.close();
    KeltoStart start(folder.path());
    QCOMPARE(start.run(*qApp), KeltoStart::Outcome::MainWindowShown);
    QWidget *main = start.mainWindow();
    QTest::mouseClick(control(main, "Command1"), Qt::LeftButton);
    const QList<QPair<const char *, QString>> typed{{"Text11", QStringLiteral("K7")},
                                                    {"Text6", QStringLiteral("سارا")},
                                                    {"Text4", QStringLiteral("کريمي")},
                                                    {"Text5", QStringLiteral("34")},
                                                    {"Text7", QStringLiteral("ليسانس")}};
    for (const auto &[box, text] : typed)
        typeText(control(main, box), text);
    for (const char *list : {"Combo1", "Combo2", "Combo3"})
        control<QComboBox>(main, list)->setCurrentIndex(1);
    m_server.stop();
    checkLostInSave(press(main, "Command8"));
    QVERIFY(control(main, "Frame10")->isVisible());
    for (const auto &[box, text] : typed)
        QCOMPARE(control<QLineEdit>(main, box)->text(), text);
    restartServer();
    QCOMPARE(rowsOnServer(), QStringLiteral("0/0/0/")); // nothing half written
    QCOMPARE(press(main, "Command8"), QString());
    QCOMPARE(rowsOnServer(), QStringLiteral("1/1/1/K7:سارا"));

    auto *test = new FrmTest(main);
    test->rereadSources();
    QVERIFY(test->selectExaminee(QStringLiteral("K7")));
    test->show();
    QTest::mouseClick(control(test, "Command1"), Qt::LeftButton);
    m_server.stop();
    control<QLineEdit>(test, "Text3")->setText(QStringLiteral("مريم"));
    checkLostInSave(boxTextsShownBy([&]() { typeText(control(test, "Text12"), QStringLiteral("7")); }));
    checkLostInSave(press(test, "Command5"));
    QVERIFY(test->isVisible());
    QCOMPARE(control<QLineEdit>(test, "Text3")->text() + control<QLineEdit>(test, "Text12")->text(),
             QStringLiteral("مريم7"));
    restartServer();
    QCOMPARE(rowsOnServer(), QStringLiteral("1/1/1/K7:سارا"));
    QCOMPARE(press(test, "Command5"), QString());
    QVERIFY(!test->isVisible());
    QCOMPARE(rowsOnServer(), QStringLiteral("1/1/1/K7:مريم"));
    QString answer;
    QVERIFY(m_server.runSql(QStringLiteral("lost"), QStringLiteral("SELECT \"1\" FROM \"Answer\""), &answer));
    QCOMPARE(answer, QStringLiteral("7"));
    for (QWidget *window : QApplication::topLevelWidgets())
        window->hide();
    Database::close();
}

QTEST_MAIN(ServerLostTest)
#include "ServerLostTest.moc"
