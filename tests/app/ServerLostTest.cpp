#include "support/ModalDriver.h"
#include "support/PostgresServer.h"
#include "support/TempProgramFolder.h"
#include "support/Typing.h"

#include "app/KeltoStart.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/EngineSettings.h"
#include "store/StoreMessages.h"
#include "testrun/FrmTest.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

namespace {
template <class T = QWidget> T *control(QWidget *window, const char *name) {
    return window->findChild<T *>(QString::fromLatin1(name));
}

QString press(QWidget *window, const char *button) {
    return boxTextsShownBy([&]() { QTest::mouseClick(control(window, button), Qt::LeftButton); });
}

// A save that met the server stopped: one box, naming the server, libpq's reason after the message.
void checkLostInSave(const QString &shown) {
    const QString server = Database::serverInUse().serverName();
    const QString lost = StoreMessages::serverLostInSave(server, QString());
    QVERIFY2(shown.startsWith(lost) && shown.size() > lost.size() && shown.count(server) == 1, qPrintable(shown));
}
} // namespace

// The server stopped while Kelto works on it, before a save: the save is refused with a message
// naming the server and libpq's reason (one box, not two), nothing half written is left, the window
// keeps what was typed, and the same save succeeds once the server is back, without a restart: in
// the registration panel, then in the test window (its details corrected and an answer typed). A read
// that meets it is told too.
class ServerLostTest : public QObject {
    Q_OBJECT
private slots:
    void savesWaitForTheServerWithTheTextKept();

private:
    // As the server holds them: examinees/answer rows/examinees with their answer row/code:name:answer 1.
    QString rowsOnServer() {
        QString rows;
        m_server.runSql(
            "lost",
            "SELECT (SELECT count(*) FROM \"IDE\") || '/' || (SELECT count(*) FROM \"Answer\") || "
            "'/' || coalesce(string_agg(\"Code\" || ':' || \"FName\" || ':' || coalesce(\"1\", ''), ','), '') "
            "FROM \"IDE\" JOIN \"Answer\" USING (\"Code\")",
            &rows);
        return rows;
    }
    PostgresServer m_server;
};

void ServerLostTest::savesWaitForTheServerWithTheTextKept() {
    TempProgramFolder folder;
    QString error;
    QVERIFY2(m_server.start(&error) && m_server.createDatabase("lost", &error), qPrintable(error));
    QFile settings(folder.filePath(EngineSettings::fileName()));
    QVERIFY(settings.open(QIODevice::WriteOnly) &&
            settings.write(m_server.keltoIniFor(QStringLiteral("lost"))) > 0 && settings.flush());
    KeltoStart start(folder.path());
    QCOMPARE(start.run(*qApp), KeltoStart::Outcome::MainWindowShown);
    QWidget *main = start.mainWindow();
    QTest::mouseClick(control(main, "Command1"), Qt::LeftButton);
    const QStringList boxes{"Text11", "Text6", "Text4", "Text5", "Text7"};
    const QStringList typed{"K7", QStringLiteral("سارا"), QStringLiteral("کريمي"), "34", QStringLiteral("ليسانس")};
    for (int i = 0; i < boxes.size(); ++i)
        typeText(control(main, qPrintable(boxes.at(i))), typed.at(i));
    for (const char *list : {"Combo1", "Combo2", "Combo3"})
        control<QComboBox>(main, list)->setCurrentIndex(1);
    m_server.stop();
    checkLostInSave(press(main, "Command8"));
    QVERIFY(control(main, "Frame10")->isVisible());
    for (int i = 0; i < boxes.size(); ++i)
        QCOMPARE(control<QLineEdit>(main, qPrintable(boxes.at(i)))->text(), typed.at(i));
    QVERIFY2(m_server.start(&error), qPrintable(error));
    QCOMPARE(rowsOnServer(), QStringLiteral("0/0/")); // nothing half written
    QCOMPARE(press(main, "Command8"), QString());
    QCOMPARE(rowsOnServer(), QStringLiteral("1/1/K7:سارا:"));

    auto *test = new FrmTest(main);
    QVERIFY(test->selectExaminee("K7"));
    test->show();
    QTest::mouseClick(control(test, "Command1"), Qt::LeftButton);
    m_server.stop();
    control<QLineEdit>(test, "Text3")->setText(QStringLiteral("مريم"));
    checkLostInSave(boxTextsShownBy([&]() { typeText(control(test, "Text12"), "7"); }));
    checkLostInSave(press(test, "Command5"));
    QVERIFY(test->isVisible());
    QCOMPARE(control<QLineEdit>(test, "Text3")->text() + control<QLineEdit>(test, "Text12")->text(),
             QStringLiteral("مريم7"));
    QVERIFY2(m_server.start(&error), qPrintable(error));
    QCOMPARE(rowsOnServer(), QStringLiteral("1/1/K7:سارا:"));
    QCOMPARE(press(test, "Command5"), QString());
    QVERIFY(!test->isVisible());
    QCOMPARE(rowsOnServer(), QStringLiteral("1/1/K7:مريم:7"));

    // A read that meets the server stopped (a window's examinees read anew) is told in a box of its own.
    m_server.stop();
    SeenBox seen;
    answerNextMessageBox(&seen);
    QVERIFY(DataSource(QStringLiteral("IDE")).noCurrentRow());
    QTRY_VERIFY_WITH_TIMEOUT(seen.seen, modalDeadlineMs);
    QVERIFY2(seen.text.startsWith(StoreMessages::serverLost(Database::serverInUse().serverName(), {})),
             qPrintable(seen.text));
    main->hide();
    Database::close();
}

QTEST_MAIN(ServerLostTest)
#include "ServerLostTest.moc"
