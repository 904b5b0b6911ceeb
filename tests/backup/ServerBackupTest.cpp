#include "backup/DatabaseCopies.h"
#include "backup/Frmbackup.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "store/SideConnection.h"
#include "store/StoreMessages.h"
#include "support/FileBytes.h"
#include "support/KeltoFiles.h"
#include "support/ModalDriver.h"
#include "support/ProgramEnd.h"
#include "support/StoreEngines.h"
#include "support/TempProgramFolder.h"
#include "widgets/PersianApplication.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

#include <memory>

using DatabaseCopies::Result;

namespace {
// Every row of the four tables, field by field, a null told from an empty text.
QStringList everyRow(QSqlDatabase db, bool onServer) {
    QStringList rows;
    QSqlQuery query(db);
    for (const Schema::Table &table : Schema::tables()) {
        const QString id = onServer || table.hasId ? QStringLiteral("\"ID\"") : QStringLiteral("rowid");
        QStringList columns{id};
        for (const QString &field : table.textFields)
            columns << Database::quoted(field);
        if (!query.exec(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY %3")
                            .arg(columns.join(QLatin1Char(',')), QString(table.name), id)))
            return {QStringLiteral("<unreadable> ") + QString(table.name)};
        while (query.next()) {
            QStringList values{QString(table.name)};
            for (int column = 0; column < columns.size(); ++column)
                values << (query.isNull(column) ? QStringLiteral("<null>") : query.value(column).toString());
            rows << values.join(QLatin1Char('|'));
        }
    }
    return rows;
}

QStringList everyRowOfFile(const QString &path) {
    const SideConnection side(path, SideConnection::Access::AsItLies);
    return side.db().open() ? everyRow(side.db(), false) : QStringList{QStringLiteral("<unopened>")};
}

bool run(const QString &sql, const QVariantList &values = {}) {
    QSqlQuery query(Database::connection());
    query.prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    return query.exec();
}

// A register of the file's kind, with what a backup must carry over as it is: texts that quote,
// escape and end statements, Persian, empty texts beside missing ones, IDs with gaps, an item text
// and a clinic of its own.
void fillRegister(int examinees) {
    const QStringList odd{QStringLiteral("O'Brien"), QStringLiteral("back\\slash"),
                          QStringLiteral("'; DROP TABLE \"IDE\"; --"), QStringLiteral("نام خانوادگي")};
    QVERIFY(run(QStringLiteral("BEGIN")));
    for (int i = 0; i < examinees; ++i) {
        const QString code = QStringLiteral("c%1").arg(i);
        QVERIFY(
            run(QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"FName\", \"LName\", \"Group\", \"Sen\") VALUES (?, ?, "
                               "?, ?, ?)"),
                {code, odd.at(i % odd.size()), QStringLiteral("رديف %1").arg(i), i % 3 ? QString() : QString(""),
                 QString::number(20 + i % 50)}));
        QVERIFY(run(QStringLiteral("INSERT INTO \"Answer\" (\"Code\", \"1\", \"40\") VALUES (?, ?, ?)"),
                    {code, QString::number(1 + i % 9), i % 2 ? QStringLiteral("9") : QString()}));
    }
    QVERIFY(run(QStringLiteral("DELETE FROM \"IDE\" WHERE \"Code\" IN ('c1', 'c5')")));
    QVERIFY(run(QStringLiteral("DELETE FROM \"Answer\" WHERE \"Code\" = 'c1'")));
    QVERIFY(
        run(QStringLiteral("UPDATE \"QUS\" SET \"QU\" = ? WHERE \"ID\" = 7"), {QStringLiteral("متن ديگر 'ماده' ۷")}));
    QVERIFY(
        run(QStringLiteral("UPDATE \"Theme\" SET \"TH\" = '5', \"Name\" = ?"), {QStringLiteral("درمانگاه \"آرامش\"")}));
    QVERIFY(run(QStringLiteral("COMMIT")));
}

bool yes(const QString &, const QString &, qint64) { return true; }
} // namespace

// Backup and restore with the register on a PostgreSQL server: the backup is the file a backup of
// the file is, a restore replaces the server's rows in one transaction or not at all.
class ServerBackupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void registerGoesFromFileToServerAndBack();
    void sealedBackupOfTheServer();
    void serverStoppedInARestoreChangesNothing();
    void codesTheServerTakesAsOne_data();
    void codesTheServerTakesAsOne();
    void restoreWindowNamesTheServer_data();
    void restoreWindowNamesTheServer();

private:
    QString path(const QString &name) const { return m_folder->filePath(name); }
    // A file register of the given size, as a plain backup at `backup`; the program's database is
    // then a new one on the server.
    void makeFileBackupAndOpenServer(const QString &backup, int examinees);
    QStringList serverRows() const { return everyRow(Database::connection(), true); }

    std::unique_ptr<TempProgramFolder> m_folder;
    StoreEngines m_engines;
};

void ServerBackupTest::initTestCase() { setUpPersianApplication(*qApp); }

void ServerBackupTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->isValid());
}

void ServerBackupTest::cleanup() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        delete widget;
    Database::close();
    m_folder.reset();
}

void ServerBackupTest::makeFileBackupAndOpenServer(const QString &backup, int examinees) {
    QVERIFY(m_folder->openDatabase());
    fillRegister(examinees);
    Database::close();
    QVERIFY(QFile::rename(path(Database::relativePath()), backup));
    QString error;
    QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error));
}

// File -> server -> backup of the server -> file: every row of the four tables as it was, IDs too,
// and later registrations on the server numbered past the restored rows.
void ServerBackupTest::registerGoesFromFileToServerAndBack() {
    const QString fromFile = path(QStringLiteral("file.mdbB"));
    const QString fromServer = path(QStringLiteral("server.mdbB"));
    makeFileBackupAndOpenServer(fromFile, 5000);
    const QStringList original = everyRowOfFile(fromFile);
    QCOMPARE(original.size(), 4998 + 4999 + 40 + 1);

    const DatabaseCopies::Outcome restored = DatabaseCopies::restoreOnServer(fromFile, {}, yes);
    QVERIFY2(restored.result == Result::Done, qPrintable(restored.message));
    QCOMPARE(serverRows(), original);
    // A disk too small for it: said in the words of a full disk, and nothing left there.
    const QString small = path(QStringLiteral("small"));
    QVERIFY(QDir().mkpath(small));
    {
        SmallDisk disk(small, 64 * 1024);
        if (disk.error().isEmpty()) {
            const DatabaseCopies::Outcome full = DatabaseCopies::backUp(small + QStringLiteral("/server.mdbB"));
            QCOMPARE(full.result, Result::CopyFailed);
            QVERIFY2(full.message.contains(StoreMessages::diskFull()), qPrintable(full.message));
            QCOMPARE(QDir(small).entryList(QDir::Files | QDir::Hidden), QStringList());
        }
    }
    const DatabaseCopies::Outcome backedUp = DatabaseCopies::backUp(fromServer);
    QVERIFY2(backedUp.result == Result::Done, qPrintable(backedUp.message));
    QString why;
    QVERIFY2(Database::isKeltoDatabaseFile(fromServer, &why), qPrintable(why));
    QCOMPARE(QDir(m_folder->path()).entryList({"*.mdb*"}, QDir::Files), (QStringList{"file.mdbB", "server.mdbB"}));

    DataSource examinees(QStringLiteral("IDE"));
    examinees.addNew();
    examinees.setValue(QStringLiteral("Code"), QStringLiteral("after the restore"));
    QVERIFY2(examinees.save(), qPrintable(examinees.lastError()));
    QCOMPARE(serverRows().size(), original.size() + 1);

    Database::close();
    QVERIFY(m_folder->openDatabase());
    const DatabaseCopies::Outcome back = DatabaseCopies::restore(fromServer);
    QVERIFY2(back.result == Result::Done, qPrintable(back.message));
    QCOMPARE(everyRowOfFile(path(Database::relativePath())), original);
    QVERIFY(m_folder->openDatabase()); // a file the program opens as its own, format version and all
    QCOMPARE(DataSource(QStringLiteral("IDE")).recordCount(), 4998);
}

void ServerBackupTest::sealedBackupOfTheServer() {
    const QString fromFile = path(QStringLiteral("file.mdbB"));
    const QString sealed = path(QStringLiteral("server.mdbS"));
    const QString passphrase = QStringLiteral("گذرواژه درمانگاه");
    makeFileBackupAndOpenServer(fromFile, 50);
    QCOMPARE(DatabaseCopies::restoreOnServer(fromFile, {}, yes).result, Result::Done);
    const QStringList saved = serverRows();

    const DatabaseCopies::Outcome made = DatabaseCopies::backUpSealed(sealed, passphrase);
    QVERIFY2(made.result == Result::Done, qPrintable(made.message));
    QVERIFY(!readFile(sealed).contains(QStringLiteral("نام خانوادگي").toUtf8()));
    QVERIFY(!QFile::exists(DatabaseCopies::openedCopyPath())); // the plain copy it was sealed from
    QCOMPARE(QDir(m_folder->path()).entryList({"*.mdb*"}, QDir::Files), (QStringList{"file.mdbB", "server.mdbS"}));
    QVERIFY(run(QStringLiteral("DELETE FROM \"IDE\" WHERE \"Code\" = 'c2'")));

    QCOMPARE(DatabaseCopies::restoreOnServer(sealed, passphrase + QLatin1Char('!'), yes).result, Result::SealedRefused);
    QCOMPARE(serverRows().size(), saved.size() - 1);
    const DatabaseCopies::Outcome restored = DatabaseCopies::restoreOnServer(sealed, passphrase, yes);
    QVERIFY2(restored.result == Result::Done, qPrintable(restored.message));
    QCOMPARE(serverRows(), saved);
    QVERIFY(!QFile::exists(DatabaseCopies::openedCopyPath()));
}

// The server stops once every row is written, before the commit: started again, it holds the
// rows it held before, every one.
void ServerBackupTest::serverStoppedInARestoreChangesNothing() {
    const QString fromFile = path(QStringLiteral("file.mdbB"));
    makeFileBackupAndOpenServer(fromFile, 300);
    const EngineSettings::Choice server = m_engines.lastChoice();
    QVERIFY(run(QStringLiteral("INSERT INTO \"IDE\" (\"Code\", \"FName\") VALUES ('kept', 'old row')")));
    const QStringList before = serverRows();
    bool stopped = false;
    const auto stopServer = [&](QString *) {
        m_engines.server()->stop();
        stopped = true;
        return true;
    };
    const DatabaseCopies::Outcome outcome = DatabaseCopies::restoreOnServer(fromFile, {}, yes, stopServer);
    QVERIFY(stopped);
    QCOMPARE(outcome.result, Result::CopyFailed);
    QVERIFY2(outcome.message.contains(server.serverName()), qPrintable(outcome.message));

    QString error;
    QVERIFY2(m_engines.server()->start(&error), qPrintable(error));
    QVERIFY2(Database::openServer(server, &error), qPrintable(error));
    QCOMPARE(serverRows(), before);
}

void ServerBackupTest::codesTheServerTakesAsOne_data() {
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<int>("fileVersion");
    QTest::addColumn<QString>("clash"); // empty: restored, codes as listed in "stored"
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("Latin case") << QStringList{"k1", "K1"} << 1 << "k1" << QStringList{};
    QTest::newRow("digits of an older file") << QStringList{"۱۲", "12"} << 0 << "12" << QStringList{};
    QTest::newRow("digits folded") << QStringList{"a۱۲", "b٣"} << 0 << "" << QStringList{"a12", "b3"};
    QTest::newRow("digits of a file of this format") << QStringList{"۱۲", "12"} << 1 << "12" << QStringList{};
}

// A backup whose codes the server's unique index takes as one is refused, naming the code, and the
// server keeps its rows; an older file's codes are stored with ASCII digits, as it would store them.
void ServerBackupTest::codesTheServerTakesAsOne() {
    QFETCH(QStringList, codes);
    QFETCH(int, fileVersion);
    QFETCH(QString, clash);
    QFETCH(QStringList, stored);
    const QString fromFile = path(QStringLiteral("file.mdbB"));
    QVERIFY(m_folder->openDatabase());
    for (const QString &code : codes)
        QVERIFY(run(QStringLiteral("INSERT INTO \"IDE\" (\"Code\") VALUES (?)"), {code}));
    QVERIFY(run(QStringLiteral("PRAGMA user_version = %1").arg(fileVersion)));
    Database::close();
    QVERIFY(QFile::rename(path(Database::relativePath()), fromFile));
    QString error;
    QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error));
    QVERIFY(run(QStringLiteral("INSERT INTO \"IDE\" (\"Code\") VALUES ('on the server')")));
    const QStringList before = serverRows();

    const DatabaseCopies::Outcome outcome = DatabaseCopies::restoreOnServer(fromFile, {}, yes);
    if (!clash.isEmpty()) {
        QCOMPARE(outcome.result, Result::CodesClash);
        QCOMPARE(outcome.message, StoreMessages::codesClash(clash));
        QCOMPARE(serverRows(), before);
    } else {
        QVERIFY2(outcome.result == Result::Done, qPrintable(outcome.message));
        QCOMPARE(DataSource(QStringLiteral("IDE")).fieldValues(QStringLiteral("Code")), stored);
    }
}

void ServerBackupTest::restoreWindowNamesTheServer_data() {
    QTest::addColumn<bool>("confirm");
    QTest::newRow("confirmed") << true;
    QTest::newRow("declined") << false;
}

// The backup window's question names the server's database and host and the examinees replaced.
void ServerBackupTest::restoreWindowNamesTheServer() {
    QFETCH(bool, confirm);
    const QString fromFile = path(QStringLiteral("file.mdbB"));
    makeFileBackupAndOpenServer(fromFile, 12);
    for (const QString &code : {QStringLiteral("s1"), QStringLiteral("s2"), QStringLiteral("s3")})
        QVERIFY(run(QStringLiteral("INSERT INTO \"IDE\" (\"Code\") VALUES (?)"), {code}));
    const QStringList before = serverRows();
    QPointer<Frmbackup> window = Frmbackup::showNew();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    window->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(fromFile);

    QList<SeenBox> seen;
    answerMessageBoxes(&seen, {confirm ? QMessageBox::Yes : QMessageBox::No, QMessageBox::Ok});
    const bool ended =
        endsProgram([&]() { window->findChild<QPushButton *>(QStringLiteral("VisualButtonEx3"))->click(); });
    QCOMPARE(ended, confirm);
    QCOMPARE(seen.size(), 2);
    const EngineSettings::Choice server = m_engines.lastChoice();
    QCOMPARE(seen.first().text, StoreMessages::replaceOnServer(server.database, server.host, 3));
    QVERIFY(seen.first().text.contains(server.host) && seen.first().text.contains(QLatin1String(" 3 ")));
    QCOMPARE(seen.last().text,
             confirm ? QStringLiteral("بازيابي اطلاعات انجام شد") : QStringLiteral("عدم موفقيت در بازيابي اطلاعات "));
    QCOMPARE(serverRows() == before, !confirm);
    QCOMPARE(serverRows() == everyRowOfFile(fromFile), confirm);
}

QTEST_MAIN(ServerBackupTest)
#include "ServerBackupTest.moc"
