#include "backup/Frmbackup.h"
#include "backup/BackupFileName.h"
#include "backup/BackupList.h"
#include "backup/SealedBackup.h"
#include "calendar/PersianCalendar.h"
#include "common/Twips.h"
#include "store/DataSource.h"
#include "store/Database.h"
#include "store/StoreMessages.h"
#include "support/FileBytes.h"
#include "support/KeltoFiles.h"
#include "support/ModalDriver.h"
#include "support/ProgramEnd.h"
#include "support/TempProgramFolder.h"
#include "widgets/PersianApplication.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <unistd.h>

class FrmbackupTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void opensWithTodaysDateAndTheClock();
    void proposedNameFollowsTheClock_data();
    void proposedNameFollowsTheClock();
    void fileDialogsOpenInTheBackupFolder_data();
    void fileDialogsOpenInTheBackupFolder();
    void backup_data();
    void backup();
    void restore_data();
    void restore();
    void sealedBackup_data();
    void sealedBackup();
    void sealedRestore_data();
    void sealedRestore();
    void everyWayOutEndsTheProgram_data();
    void everyWayOutEndsTheProgram();
    void newBackupStandsOnlyWhenWhole();
    void copyRefused_data();
    void copyRefused();

private:
    template <class T = QWidget> T *control(const char *name) const {
        return m_window->findChild<T *>(QString::fromLatin1(name));
    }
    void click(const char *name) { control<QPushButton>(name)->click(); }
    QString database() const { return m_folder->filePath(Database::relativePath()); }

    std::unique_ptr<TempProgramFolder> m_folder;
    QPointer<Frmbackup> m_window;
};

void FrmbackupTest::initTestCase() { setUpPersianApplication(*qApp); }

void FrmbackupTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->openDatabase());
    DataSource examinees(QStringLiteral("IDE"));
    examinees.addNew();
    examinees.setValue(QStringLiteral("Code"), QStringLiteral("K7"));
    QVERIFY(examinees.save());
    m_window = Frmbackup::showNew();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void FrmbackupTest::cleanup() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        delete widget;
    m_folder.reset();
}

void FrmbackupTest::opensWithTodaysDateAndTheClock() {
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Back up ...  Reastor"));
    QCOMPARE(m_window->pos(), twipsPoint(2340, 765));
    QCOMPARE(control<QLabel>("Label1")->text(), PersianDateText(QDateTime::currentDateTime(), 4));
    QCOMPARE(control<QLabel>("Label3")->text(), control<QLabel>("Label1")->text());
    // The clock label is set anew every second.
    auto *clock = control<QLabel>("Label2");
    clock->setText(QStringLiteral("stale"));
    QTRY_VERIFY_WITH_TIMEOUT(clock->text() != QLatin1String("stale"), 1500);
    QCOMPARE(clock->text(), BackupFileName::clockText(QTime::currentTime()));
}

void FrmbackupTest::proposedNameFollowsTheClock_data() {
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("name");
    QTest::newRow("9.05") << QTime(9, 5, 59) << QStringLiteral("در تاريخ1403.5.12 ساعت)9.05).mdbB");
    QTest::newRow("a minute later") << QTime(9, 6) << QStringLiteral("در تاريخ1403.5.12 ساعت)9.06).mdbB");
    QTest::newRow("afternoon") << QTime(14, 30) << QStringLiteral("در تاريخ1403.5.12 ساعت)14.30).mdbB");
    QTest::newRow("midnight") << QTime(0, 0) << QStringLiteral("در تاريخ1403.5.12 ساعت)0.00).mdbB");
}

void FrmbackupTest::proposedNameFollowsTheClock() {
    QFETCH(QTime, time);
    QFETCH(QString, name);
    QCOMPARE(BackupFileName::proposed(QStringLiteral("1403.5.12"), BackupFileName::clockText(time)), name);
}

void FrmbackupTest::fileDialogsOpenInTheBackupFolder_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("choose");
    QTest::newRow("backup file chosen") << "b1"
                                        << "Text1" << true;
    QTest::newRow("backup file not chosen") << "b1"
                                            << "Text1" << false;
    QTest::newRow("file to restore chosen") << "b2"
                                            << "Text2" << true;
    QTest::newRow("file to restore not chosen") << "b2"
                                                << "Text2" << false;
}

void FrmbackupTest::fileDialogsOpenInTheBackupFolder() {
    QFETCH(QString, button);
    QFETCH(QString, box);
    QFETCH(bool, choose);
    const QString backFolder = m_folder->filePath(QStringLiteral("Back"));
    QVERIFY(!QFileInfo::exists(backFolder));
    const bool saving = button == QLatin1String("b1");
    const QString chosen = QDir(backFolder).filePath(QStringLiteral("chosen.mdbB"));
    control<QLineEdit>(box.toLatin1().constData())->setText(QStringLiteral("typed before"));
    if (!saving)
        QVERIFY(QDir().mkpath(backFolder) && writeFile(chosen, "x"));

    SeenFileDialog seen;
    answerNextFileDialog(&seen, choose ? chosen : QString());
    click(button.toLatin1().constData());
    QVERIFY(seen.seen);
    QCOMPARE(seen.folder, QFileInfo(backFolder).absoluteFilePath());
    QCOMPARE(seen.saving, saving);
    QCOMPARE(seen.filters, QStringList{saving ? QStringLiteral("Database Backup (*.mdbB)")
                                              : QStringLiteral("Database Backup (*.mdbB *.mdbS)")});
    const QString proposed =
        BackupFileName::proposed(control<QLabel>("Label3")->text(), control<QLabel>("Label2")->text());
    QCOMPARE(seen.fileName, saving ? proposed : QString());
    QCOMPARE(control<QLineEdit>(box.toLatin1().constData())->text(),
             choose ? QDir::toNativeSeparators(chosen) : QStringLiteral("typed before"));
}

void FrmbackupTest::backup_data() {
    QTest::addColumn<QString>("destination"); // "none", "new", "existing", "unwritable folder"
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<bool>("ends");
    const QString made = QStringLiteral("نسخه پشتيبان تهيه گرديد");
    const QString question =
        QStringLiteral("فايل پشتيباني با اين نام قبلا ايجاد شده آيا ميخواهيد اين فايل را جايگزين کنيد؟");
    QTest::newRow("no path") << "none" << false
                             << QStringList{QStringLiteral("لطفا مسير تهيه نسخه پشتيبان را وارد کنيد")} << false;
    QTest::newRow("new file") << "new" << false << QStringList{made} << true;
    QTest::newRow("replacement declined")
        << "existing" << false << QStringList{question, QStringLiteral("عدم موفقيت در تهيه نسخه پشتيبان")} << false;
    QTest::newRow("replacement accepted") << "existing" << true << QStringList{question, made} << true;
    QTest::newRow("unwritable folder") << "unwritable folder" << false
                                       << QStringList{QStringLiteral("اشکال در ايجاد نسخه پشتيباني")} << false;
}

void FrmbackupTest::backup() {
    QFETCH(QString, destination);
    QFETCH(bool, replace);
    QFETCH(QStringList, messages);
    QFETCH(bool, ends);
    QString path = m_folder->filePath(QStringLiteral("saved.mdbB"));
    const QByteArray old(5 * 4048, 'o'); // longer than the database
    if (destination == QLatin1String("existing"))
        QVERIFY(writeFile(path, old));
    if (destination == QLatin1String("unwritable folder")) {
        QVERIFY(QDir().mkdir(m_folder->filePath(QStringLiteral("locked"))));
        QVERIFY(
            QFile::setPermissions(m_folder->filePath(QStringLiteral("locked")), QFile::ReadOwner | QFile::ExeOwner));
        path = geteuid() == 0 ? QStringLiteral("/proc/kelto-saved.mdbB")
                              : m_folder->filePath(QStringLiteral("locked/saved.mdbB"));
    }
    control<QLineEdit>("Text1")->setText(destination == QLatin1String("none") ? QString() : path);

    QList<QMessageBox::StandardButton> answers{QMessageBox::Ok};
    if (messages.size() == 2)
        answers.prepend(replace ? QMessageBox::Yes : QMessageBox::No);
    QList<SeenBox> seen;
    answerMessageBoxes(&seen, answers);
    const bool ended = endsProgram([&]() { click("VisualButtonEx2"); });
    QCOMPARE(ended, ends);
    QCOMPARE(seen.size(), messages.size());
    for (int i = 0; i < messages.size(); ++i) {
        QVERIFY2(seen.at(i).text.startsWith(messages.at(i)), qPrintable(seen.at(i).text));
        QCOMPARE(seen.at(i).direction, Qt::RightToLeft);
    }
    const SeenBox &last = seen.last();
    if (destination == QLatin1String("none")) {
        QCOMPARE(last.title, QStringLiteral("خطا"));
        QCOMPARE(last.icon, QMessageBox::Warning);
        QVERIFY(!QFile::exists(path));
    } else if (destination == QLatin1String("unwritable folder")) {
        QCOMPARE(last.icon, QMessageBox::Critical);
        QVERIFY(last.text.size() > messages.last().size() + path.size()); // the system's description
        QVERIFY(!QFile::exists(path));
    } else if (!ends) {
        QCOMPARE(last.icon, QMessageBox::Information);
        QCOMPARE(readFile(path), old);
    } else {
        QCOMPARE(readFile(path), readFile(database()));
    }
    QVERIFY(ends || m_window->isVisible());
    QVERIFY(control("VisualButtonEx2")->isEnabled());
}

void FrmbackupTest::restore_data() {
    QTest::addColumn<QString>("source"); // "none", "backup", "foreign"
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("lastTitle");
    QTest::addColumn<bool>("ends");
    const QString question = QStringLiteral("آيا ميخواهيد اطلاعات را بازيابي کنيد؟");
    QTest::newRow("no path") << "none" << false << QStringList{QStringLiteral("لطفا مسير فايل مربوطه را وارد کنيد")}
                             << "خطا" << false;
    QTest::newRow("declined") << "backup" << false
                              << QStringList{question, QStringLiteral("عدم موفقيت در بازيابي اطلاعات ")} << "Kelto"
                              << false;
    QTest::newRow("not a Kelto database") << "foreign" << true << QStringList{question, QString()} << "خطا" << false;
    QTest::newRow("restored") << "backup" << true << QStringList{question, QStringLiteral("بازيابي اطلاعات انجام شد")}
                              << "Kelto" << true;
}

void FrmbackupTest::restore() {
    QFETCH(QString, source);
    QFETCH(bool, confirm);
    QFETCH(QStringList, messages);
    QFETCH(QString, lastTitle);
    QFETCH(bool, ends);
    // A backup without the examinee registered since.
    const QString path = m_folder->filePath(QStringLiteral("saved.mdbB"));
    QVERIFY(writeFile(path, source == QLatin1String("backup") ? readFile(database()) : QByteArray("plain text")));
    DataSource examinees(QStringLiteral("IDE"));
    examinees.addNew();
    examinees.setValue(QStringLiteral("Code"), QStringLiteral("later"));
    QVERIFY(examinees.save());
    const QByteArray before = readFile(database());
    control<QLineEdit>("Text2")->setText(source == QLatin1String("none") ? QString() : path);

    QList<QMessageBox::StandardButton> answers{QMessageBox::Ok};
    if (messages.size() == 2)
        answers.prepend(confirm ? QMessageBox::Yes : QMessageBox::No);
    QList<SeenBox> seen;
    answerMessageBoxes(&seen, answers);
    QCOMPARE(endsProgram([&]() { click("VisualButtonEx3"); }), ends);
    QCOMPARE(seen.size(), messages.size());
    for (int i = 0; i < messages.size(); ++i)
        QVERIFY2(seen.at(i).text.startsWith(messages.at(i)), qPrintable(seen.at(i).text));
    QCOMPARE(seen.last().title, lastTitle);
    QCOMPARE(readFile(database()), ends ? readFile(path) : before);
    // As private as a database the program makes.
    QCOMPARE(QFileInfo(database()).permissions() & ~(QFile::ReadUser | QFile::WriteUser),
             QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(m_folder->openDatabase());
    QCOMPARE(DataSource(QStringLiteral("IDE")).recordCount(), ends ? 1 : 2);
}

void FrmbackupTest::sealedBackup_data() {
    QTest::addColumn<QStringList>("typed"); // the passphrase, then again
    QTest::addColumn<QString>("message");
    const QString passphrase = QStringLiteral("گذرواژه دفتر ما");
    QTest::newRow("made") << QStringList{passphrase, passphrase} << "نسخه پشتيبان تهيه گرديد";
    QTest::newRow("too short") << QStringList{QStringLiteral("۱۲۳۴۵۶۷۸۹")} << "گذرواژه بايد دست کم ده حرف باشد.";
    QTest::newRow("not alike") << QStringList{passphrase, passphrase + QLatin1Char('!')} << "دو گذرواژه يکسان نيستند.";
    QTest::newRow("second not given") << QStringList{passphrase, QString()} << "عدم موفقيت در تهيه نسخه پشتيبان";
}

void FrmbackupTest::sealedBackup() {
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    const bool made = typed.size() == 2 && typed.first() == typed.last();
    control<QLineEdit>("Text1")->setText(m_folder->filePath(QStringLiteral("saved.mdbB")));
    control<QCheckBox>("SealedCheck")->setChecked(true);
    const QString sealed = m_folder->filePath(QStringLiteral("saved.mdbS"));
    QCOMPARE(control<QLineEdit>("Text1")->text(), sealed);

    QList<SeenBox> asked;
    QList<SeenBox> seen;
    answerInputBoxes(&asked, typed);
    answerMessageBoxes(&seen, {QMessageBox::Ok});
    QCOMPARE(endsProgram([&]() { click("VisualButtonEx2"); }), made);
    QCOMPARE(asked.size(), typed.size());
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().text, message);
    QCOMPARE(QFile::exists(sealed), made);
    if (made) {
        const QString opened = m_folder->filePath(QStringLiteral("opened"));
        QCOMPARE(SealedBackup::open(sealed, opened, typed.first()).result, SealedBackup::Result::Done);
        QCOMPARE(readFile(opened), readFile(database()));
    }
}

void FrmbackupTest::sealedRestore_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("ends");
    QTest::newRow("right passphrase") << "گذرواژه دفتر ما" << true;
    QTest::newRow("wrong passphrase") << "گذرواژه دفتر شما" << false;
}

void FrmbackupTest::sealedRestore() {
    QFETCH(QString, typed);
    QFETCH(bool, ends);
    const QString sealed = m_folder->filePath(QStringLiteral("saved.mdbS"));
    QCOMPARE(SealedBackup::seal(database(), sealed, QStringLiteral("گذرواژه دفتر ما")).result,
             SealedBackup::Result::Done);
    const QByteArray saved = readFile(database());
    DataSource examinees(QStringLiteral("IDE"));
    examinees.addNew();
    examinees.setValue(QStringLiteral("Code"), QStringLiteral("later"));
    QVERIFY(examinees.save());
    const QByteArray before = readFile(database());
    control<QLineEdit>("Text2")->setText(sealed);

    QList<SeenBox> asked;
    QList<SeenBox> seen;
    answerInputBoxes(&asked, {typed});
    answerMessageBoxes(&seen, {QMessageBox::Yes, QMessageBox::Ok});
    QCOMPARE(endsProgram([&]() { click("VisualButtonEx3"); }), ends);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(seen.size(), 2);
    QVERIFY2(seen.last().text.contains(ends ? QStringLiteral("بازيابي اطلاعات انجام شد")
                                            : QStringLiteral("گذرواژه درست نيست.")),
             qPrintable(seen.last().text));
    QCOMPARE(readFile(database()), ends ? saved : before);
    QVERIFY(!QFile::exists(DatabaseCopies::openedCopyPath()));
}

void FrmbackupTest::everyWayOutEndsTheProgram_data() {
    QTest::addColumn<bool>("exitButton");
    QTest::newRow("exit button") << true;
    QTest::newRow("close box") << false;
}

void FrmbackupTest::everyWayOutEndsTheProgram() {
    QFETCH(bool, exitButton);
    QVERIFY(endsProgram([&]() {
        if (exitButton)
            click("Command1");
        else
            m_window->close();
    }));
    QVERIFY(!QFileInfo::exists(m_folder->filePath(QStringLiteral("Back"))));
}

// Killed while it writes, a backup must not stand under its name: it is written under another one
// (not listed as a backup) and renamed when whole. Leftovers of copies killed long ago go.
void FrmbackupTest::newBackupStandsOnlyWhenWhole() {
    const QString back = m_folder->filePath(QStringLiteral("Back"));
    const QString stale = back + QStringLiteral("/killed.mdbB.copy-AbC123");
    QVERIFY(QDir().mkpath(back) && writeFile(stale, "half") && writeFile(stale + QStringLiteral("new"), "half"));
    QFile old(stale);
    QVERIFY(old.open(QIODevice::ReadWrite) &&
            old.setFileTime(QDateTime::currentDateTime().addSecs(-7200), QFileDevice::FileModificationTime));
    const QString destination = back + QStringLiteral("/new.mdbB");
    control<QLineEdit>("Text1")->setText(destination);
    bool existedDuringCopy = true;
    int listedDuringCopy = -1;
    QList<SeenBox> seen;
    answerMessageBoxes(&seen, {QMessageBox::Ok}, 30000);
    QVERIFY(endsProgram(
        [&]() {
            // The copy gives events their turn before its first piece.
            QTimer::singleShot(0, [&]() {
                existedDuringCopy = QFileInfo::exists(destination);
                listedDuringCopy = listBackups(back).usable.size() + listBackups(back).leftOut;
            });
            click("VisualButtonEx2");
        },
        30000));
    QCOMPARE(existedDuringCopy, false);
    QCOMPARE(listedDuringCopy, 0);
    QCOMPARE(readFile(destination), readFile(database()));
    QCOMPARE(QDir(back).entryList(QDir::Files), (QStringList{"killed.mdbB.copy-AbC123new", "new.mdbB"}));
}

void FrmbackupTest::copyRefused_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("said");
    QTest::newRow("backup of a database damaged inside") << "damaged" << StoreMessages::restoreFromAWholeBackup();
    QTest::newRow("backup to a full disk") << "backup" << StoreMessages::diskFull();
    QTest::newRow("restore onto a full disk") << "restore" << StoreMessages::diskFull();
}

// A tmpfs too small for the copy (the backup's folder, or the database's for a restore), or a
// database with damaged pages: the window says why, stays open, and no half copy is left.
void FrmbackupTest::copyRefused() {
    QFETCH(QString, kind);
    QFETCH(QString, said);
    const bool restoring = kind == QLatin1String("restore");
    const QString large = m_folder->filePath(QStringLiteral("large.mdbB"));
    Database::close();
    makeKeltoDatabase(kind == QLatin1String("damaged") ? database() : large, 5000);
    QVERIFY(kind != QLatin1String("damaged") || damageMiddlePages(database(), 20));
    const QByteArray current = readFile(database());
    const QString small = m_folder->filePath(restoring ? QStringLiteral("DBKelto") : QStringLiteral("small"));
    std::unique_ptr<SmallDisk> disk;
    if (kind != QLatin1String("damaged")) {
        disk = std::make_unique<SmallDisk>(small, restoring ? current.size() + 64 * 1024 : 16 * 1024);
        if (!disk->error().isEmpty())
            QSKIP(qPrintable(disk->error()));
    }
    QVERIFY(QDir().mkpath(small) && (!restoring || writeFile(database(), current)));
    QVERIFY(m_folder->openDatabase());
    control<QLineEdit>(restoring ? "Text2" : "Text1")->setText(restoring ? large : small + QStringLiteral("/x.mdbB"));

    QList<SeenBox> seen;
    answerMessageBoxes(&seen, restoring ? QList{QMessageBox::Yes, QMessageBox::Ok} : QList{QMessageBox::Ok}, 30000);
    endsProgram([&]() { click(restoring ? "VisualButtonEx3" : "VisualButtonEx2"); }, 30000);
    QVERIFY(!seen.isEmpty());
    QVERIFY2(seen.last().text.startsWith(restoring ? QStringLiteral("عدم موفقيت در بازيابي اطلاعات ")
                                                   : QStringLiteral("اشکال در ايجاد نسخه پشتيباني")),
             qPrintable(seen.last().text));
    QVERIFY2(seen.last().text.contains(said), qPrintable(seen.last().text));
    QVERIFY(m_window->isVisible());
    QCOMPARE(QDir(small).entryList(QDir::Files), restoring ? QStringList{"DBKelto.mdb"} : QStringList{});
    QCOMPARE(readFile(database()), current);
}

QTEST_MAIN(FrmbackupTest)
#include "FrmbackupTest.moc"
