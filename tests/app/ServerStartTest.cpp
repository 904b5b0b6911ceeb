#include "support/ModalDriver.h"
#include "support/PostgresServer.h"
#include "support/TempProgramFolder.h"

#include "app/KeltoStart.h"
#include "store/Database.h"
#include "store/EngineSettings.h"
#include "store/StoreMessages.h"
#include "widgets/SkinLabel.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

// Kelto.ini at start: a malformed file refused with its line, the register opened on the server it
// names, a server that cannot be reached offered again or left, never replaced by the file, and the
// file as the main window's database panel writes it.
class ServerStartTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void malformedFileIsRefusedAtItsLine();
    void startsOnTheServer();
    void unreachableServerIsTriedAgainOrLeft();
    void databasePanelWritesWhatTheNextStartReads();

private:
    void writeSettings(const QByteArray &text);
    bool noLocalFile() const { return !QFile::exists(m_folder->filePath(Database::relativePath())); }

    std::unique_ptr<TempProgramFolder> m_folder;
    PostgresServer m_server;
};

void ServerStartTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->isValid());
}

void ServerStartTest::cleanup() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        widget->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    Database::close();
    m_folder.reset();
}

void ServerStartTest::writeSettings(const QByteArray &text) {
    QFile file(m_folder->filePath(EngineSettings::fileName()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

void ServerStartTest::malformedFileIsRefusedAtItsLine() {
    writeSettings("[Database]\nDriver=PSQL\nHost=db.clinic.lan\nPort=five\n");
    SeenBox seen;
    answerNextMessageBox(&seen);
    KeltoStart start(m_folder->path());
    QCOMPARE(start.run(*qApp), KeltoStart::Outcome::DatabaseRefused);
    QVERIFY(seen.seen);
    const QString named = QDir(m_folder->path()).absoluteFilePath(EngineSettings::fileName()) + QStringLiteral(":4");
    QVERIFY2(seen.text.startsWith(StoreMessages::cannotOpen(named, QString())), qPrintable(seen.text));
    QCOMPARE(seen.direction, Qt::RightToLeft);
    QVERIFY(noLocalFile());
}

void ServerStartTest::startsOnTheServer() {
    QString error;
    QVERIFY2(m_server.start(&error) && m_server.createDatabase(QStringLiteral("clinic"), &error), qPrintable(error));
    writeSettings(m_server.keltoIniFor(QStringLiteral("clinic")));
    KeltoStart start(m_folder->path());
    QCOMPARE(start.run(*qApp), KeltoStart::Outcome::MainWindowShown);
    QVERIFY(start.mainWindow() && start.mainWindow()->isVisible());
    QCOMPARE(Database::connection().driverName(), QStringLiteral("QPSQL"));
    QString items;
    QVERIFY(m_server.runSql(QStringLiteral("clinic"), QStringLiteral("SELECT count(*) FROM \"QUS\""), &items));
    QCOMPARE(items, QStringLiteral("40"));
    QVERIFY(noLocalFile());
}

void ServerStartTest::unreachableServerIsTriedAgainOrLeft() {
    QString error;
    QVERIFY2(m_server.start(&error), qPrintable(error));
    m_server.stop();
    writeSettings(m_server.keltoIniFor(QStringLiteral("retried")));
    // The first box: the server named with libpq's reason; tried again once the server is up.
    QStringList texts;
    QStringList buttons;
    QString startError;
    actOnNextWindow(QStringLiteral("serverBox"), [&](QWidget *window) {
        auto *box = qobject_cast<QMessageBox *>(window);
        texts << box->text();
        auto *retry = box->findChild<QPushButton *>(QStringLiteral("retryButton"));
        auto *exit = box->findChild<QPushButton *>(QStringLiteral("exitButton"));
        buttons << retry->text() << exit->text();
        const bool up = m_server.start(&startError) && m_server.createDatabase(QStringLiteral("retried"), &startError);
        (up ? retry : exit)->click();
    });
    {
        KeltoStart start(m_folder->path());
        QVERIFY2(start.run(*qApp) == KeltoStart::Outcome::MainWindowShown, qPrintable(startError));
    }
    QCOMPARE(texts.size(), 1);
    QCOMPARE(buttons, QStringList({StoreMessages::tryAgain(), StoreMessages::exitProgram()}));
    QVERIFY2(texts.at(0).contains(QStringLiteral("postgres@%1:").arg(m_server.socketFolder())),
             qPrintable(texts.at(0)));
    QVERIFY2(texts.at(0).contains(QLatin1String("No such file or directory")), qPrintable(texts.at(0)));
    cleanup();
    init();

    // Left: the program ends, and no local file stands in for the register.
    m_server.stop();
    writeSettings(m_server.keltoIniFor(QStringLiteral("clinic")));
    actOnNextWindow(QStringLiteral("serverBox"),
                    [](QWidget *window) { window->findChild<QPushButton *>(QStringLiteral("exitButton"))->click(); });
    KeltoStart start(m_folder->path());
    QCOMPARE(start.run(*qApp), KeltoStart::Outcome::DatabaseRefused);
    QVERIFY(!Database::isOpen());
    QVERIFY(noLocalFile());
}

// The panel shows the engine in use, tests the server as typed (reachable or not, the program's own
// connection left alone) and writes the Kelto.ini the next start reads.
void ServerStartTest::databasePanelWritesWhatTheNextStartReads() {
    QString error;
    QVERIFY2(m_server.start(&error) && m_server.createDatabase(QStringLiteral("panel"), &error), qPrintable(error));
    const auto openPanel = [](QWidget *main) {
        QTest::mouseClick(main->findChild<QWidget *>(QStringLiteral("Command9")), Qt::LeftButton);
        QTest::mouseClick(main->findChild<QWidget *>(QStringLiteral("CmdDatabase")), Qt::LeftButton);
        return main->findChild<QWidget *>(QStringLiteral("FrameDatabase"));
    };
    const auto caption = [](QWidget *panel) { return panel->findChild<SkinLabel *>("LblEngineInUse")->caption(); };
    const auto press = [](QWidget *panel, const char *button) {
        return boxTextsShownBy([&]() { QTest::mouseClick(panel->findChild<QWidget *>(button), Qt::LeftButton); });
    };
    const auto type = [](QWidget *panel, const QStringList &values) {
        for (int i = 0; i < values.size(); ++i)
            panel->findChild<QLineEdit *>(QStringList{"TxtHost", "TxtPort", "TxtDatabase", "TxtUser"}.at(i))
                ->setText(values.at(i));
    };
    EngineSettings::Choice typed{true, m_folder->filePath("no-server"), m_server.port(), "panel", m_server.user(), {}};
    {
        KeltoStart start(m_folder->path());
        QCOMPARE(start.run(*qApp), KeltoStart::Outcome::MainWindowShown);
        QWidget *panel = openPanel(start.mainWindow());
        QVERIFY(panel && panel->isVisible());
        QCOMPARE(caption(panel), StoreMessages::fileInUse(m_folder->filePath(Database::relativePath())));
        type(panel, {typed.host, QString::number(typed.port), typed.database, typed.user});
        const QString unreachable = press(panel, "CmdTestServer");
        QVERIFY2(unreachable.startsWith(StoreMessages::serverUnreachable(typed.serverName(), QString())) &&
                     unreachable.contains("No such file or directory"), // libpq's reason
                 qPrintable(unreachable));
        typed.host = m_server.socketFolder();
        type(panel, {typed.host});
        QCOMPARE(press(panel, "CmdTestServer"), StoreMessages::serverReached(typed.serverName()));
        QCOMPARE(press(panel, "CmdSaveServer"),
                 StoreMessages::serverWritten(m_folder->filePath(EngineSettings::fileName())));
        QVERIFY(!panel->isVisible());
        QVERIFY(Database::filePath().endsWith(Database::relativePath())); // until the next start
        for (QWidget *window : QApplication::topLevelWidgets())
            window->hide();
        Database::close();
    }
    KeltoStart next(m_folder->path());
    QCOMPARE(next.run(*qApp), KeltoStart::Outcome::MainWindowShown);
    QCOMPARE(Database::serverInUse().serverName(), typed.serverName());
    QCOMPARE(caption(openPanel(next.mainWindow())), StoreMessages::serverInUse(typed.serverName(), "prefer"));
}

QTEST_MAIN(ServerStartTest)
#include "ServerStartTest.moc"
