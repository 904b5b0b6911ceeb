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
#include <QPointer>
#include <QTest>

#include <memory>

// The server stopped while Kelto works on it, before a save: the save is refused with a message
// naming the server and libpq's reason (one box, not two), nothing half written is left, the window
// keeps what was typed, and the same save succeeds once the server is back, without a restart.
class ServerLostTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void registrationKeepsItsTextAndSavesLater();
    void testWindowKeepsItsTextAndSavesLater();

private:
    template <class T = QWidget> T *control(QWidget *window, const char *name) {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QString press(QWidget *window, const char *button) {
        return boxTextsShownBy([&]() { QTest::mouseClick(control(window, button), Qt::LeftButton); });
    }
    // The rows of both tables as the server holds them: examinees, answer rows, examinees with
    // their answer row, each examinee's code and first name.
    QString rowsOnServer();
    // The message of a save that met the server stopped: one box, naming the server, with a reason.
    void checkLostInSave(const QString &shown);

    PostgresServer m_server;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<KeltoStart> m_start;
    QString m_serverName;
    int m_databases = 0;
};

void ServerLostTest::initTestCase() {
    QString error;
    QVERIFY2(m_server.start(&error), qPrintable(error));
}

void ServerLostTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QString error;
    const QString database = QStringLiteral("lost%1").arg(++m_databases);
    QVERIFY2(m_server.start(&error) && m_server.createDatabase(database, &error), qPrintable(error));
    QFile settings(m_folder->filePath(EngineSettings::fileName()));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write(QStringLiteral("[Database]\nDriver=PSQL\nHost=%1\nDatabase=%2\nUser=%3\n")
                       .arg(m_server.socketFolder(), database, m_server.user())
                       .toUtf8());
    settings.close();
    m_start = std::make_unique<KeltoStart>(m_folder->path());
    QCOMPARE(m_start->run(*qApp), KeltoStart::Outcome::MainWindowShown);
    m_serverName = Database::serverInUse().serverName();
}

void ServerLostTest::cleanup() {
    for (QWidget *window : QApplication::topLevelWidgets()) {
        window->hide();
        window->deleteLater();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Database::close();
    m_start.reset();
    m_folder.reset();
}

QString ServerLostTest::rowsOnServer() {
    QString rows;
    m_server.runSql(
        Database::serverInUse().database,
        QStringLiteral("SELECT (SELECT count(*) FROM \"IDE\") || '/' || (SELECT count(*) FROM \"Answer\") "
                       "|| '/' || (SELECT count(*) FROM \"IDE\" JOIN \"Answer\" USING (\"Code\")) || '/' || "
                       "(SELECT coalesce(string_agg(\"Code\" || ':' || \"FName\", ','), '') FROM \"IDE\")"),
        &rows);
    return rows;
}

void ServerLostTest::checkLostInSave(const QString &shown) {
    const QString lost = StoreMessages::serverLostInSave(m_serverName, QString());
    QVERIFY2(shown.startsWith(lost), qPrintable(shown));
    QVERIFY2(shown.size() > lost.size(), qPrintable(shown)); // libpq's reason
    QCOMPARE(shown.count(m_serverName), 1);                  // one box
}

void ServerLostTest::registrationKeepsItsTextAndSavesLater() {
    QWidget *main = m_start->mainWindow();
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
    for (const char *list : {"Combo1", "Combo2", "Combo3"})
        QCOMPARE(control<QComboBox>(main, list)->currentIndex(), 1);

    QString error;
    QVERIFY2(m_server.start(&error), qPrintable(error));
    QCOMPARE(rowsOnServer(), QStringLiteral("0/0/0/")); // nothing half written
    QCOMPARE(press(main, "Command8"), QString());
    QVERIFY(!control(main, "Frame10")->isVisible());
    QCOMPARE(rowsOnServer(), QStringLiteral("1/1/1/K7:سارا"));
}

// The details corrected and an answer typed while the server is away: both kept in the window, and
// stored by "ذخيره و خروج" once it is back.
void ServerLostTest::testWindowKeepsItsTextAndSavesLater() {
    QWidget *main = m_start->mainWindow();
    QTest::mouseClick(control(main, "Command1"), Qt::LeftButton);
    typeText(control(main, "Text11"), QStringLiteral("K8"));
    typeText(control(main, "Text6"), QStringLiteral("علي"));
    typeText(control(main, "Text4"), QStringLiteral("رضايي"));
    typeText(control(main, "Text5"), QStringLiteral("40"));
    typeText(control(main, "Text7"), QStringLiteral("ديپلم"));
    for (const char *list : {"Combo1", "Combo2", "Combo3"})
        control<QComboBox>(main, list)->setCurrentIndex(0);
    QCOMPARE(press(main, "Command8"), QString());

    QPointer<FrmTest> test = new FrmTest;
    test->rereadSources();
    QVERIFY(test->selectExaminee(QStringLiteral("K8")));
    test->show();
    QTest::mouseClick(control(test, "Command1"), Qt::LeftButton);
    m_server.stop();
    QLineEdit *firstName = control<QLineEdit>(test, "Text3");
    firstName->setText(QStringLiteral("مريم"));
    checkLostInSave(boxTextsShownBy([&]() { typeText(control(test, "Text12"), QStringLiteral("7")); }));
    QCOMPARE(control<QLineEdit>(test, "Text12")->text(), QStringLiteral("7"));
    checkLostInSave(press(test, "Command5"));
    QVERIFY(test && test->isVisible());
    QCOMPARE(firstName->text(), QStringLiteral("مريم"));
    QCOMPARE(control<QLineEdit>(test, "Text12")->text(), QStringLiteral("7"));

    QString error;
    QVERIFY2(m_server.start(&error), qPrintable(error));
    QCOMPARE(rowsOnServer(), QStringLiteral("1/1/1/K8:علي"));
    QCOMPARE(press(test, "Command5"), QString());
    QVERIFY(!test || !test->isVisible());
    QCOMPARE(rowsOnServer(), QStringLiteral("1/1/1/K8:مريم"));
    QString answer;
    QVERIFY(m_server.runSql(Database::serverInUse().database, QStringLiteral("SELECT \"1\" FROM \"Answer\""), &answer));
    QCOMPARE(answer, QStringLiteral("7"));
    delete test;
}

QTEST_MAIN(ServerLostTest)
#include "ServerLostTest.moc"
