#include "examinees/FrmCode.h"
#include "profile/ProfileWindow.h"
#include "widgets/Notices.h"
#include "store/Database.h"
#include "support/ModalDriver.h"
#include "support/TempProgramFolder.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {
// Examinees K1 and K2 answered every item, K3 left items 3 and 17; 200 more fill the grid.
void addExaminees() {
    QSqlQuery query(Database::connection());
    query.exec(QStringLiteral("BEGIN"));
    for (int i = 1; i <= 203; ++i) {
        const QString code = QStringLiteral("K%1").arg(i);
        query.prepare(QStringLiteral("INSERT INTO IDE (Code, FName, LName, \"Group\") VALUES (?, ?, ?, ?)"));
        query.addBindValue(code);
        query.addBindValue(QStringLiteral("مريم"));
        query.addBindValue(QStringLiteral("احمدي"));
        query.addBindValue(i <= 3 ? QStringLiteral("A") : QStringLiteral("B"));
        query.exec();
        QStringList names{QStringLiteral("Code")}, marks{QStringLiteral("?")};
        for (int item = 1; item <= 40; ++item)
            names << Database::quoted(QString::number(item)), marks << QStringLiteral("?");
        query.prepare(QStringLiteral("INSERT INTO Answer (%1) VALUES (%2)").arg(names.join(u','), marks.join(u',')));
        query.addBindValue(code);
        for (int item = 1; item <= 40; ++item)
            query.addBindValue(i == 3 && (item == 3 || item == 17) ? QString() : QString::number((item + i) % 9 + 1));
        query.exec();
    }
    query.exec(QStringLiteral("COMMIT"));
}

QString notice(const Notice &notice) { return QString::fromUtf8(notice.text); }
} // namespace

class ProfileWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void gridOpensProfile_data();
    void gridOpensProfile();
    void incompleteExamineeIsRefused();
    void comparison_data();
    void comparison();
    void savedFiles_data();
    void savedFiles();
    void cancelledExportLeavesNoFile();

private:
    ProfileWindow *openFromGrid(FrmCode &directory, int row);

    TempProgramFolder m_folder;
};

void ProfileWindowTest::initTestCase() {
    QString error;
    QVERIFY2(m_folder.openDatabase(&error), qPrintable(error));
    addExaminees();
}

void ProfileWindowTest::cleanup() {
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (qobject_cast<ProfileWindow *>(window))
            delete window;
    }
}

ProfileWindow *ProfileWindowTest::openFromGrid(FrmCode &directory, int row) {
    directory.openProfile(row);
    return directory.findChild<ProfileWindow *>();
}

void ProfileWindowTest::gridOpensProfile_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("double-click") << "double-click";
    QTest::newRow("Enter") << "Enter";
    QTest::newRow("the grid's menu entry") << "menu";
}

void ProfileWindowTest::gridOpensProfile() {
    QFETCH(QString, how);
    FrmCode directory;
    directory.show();
    QVERIFY(QTest::qWaitForWindowExposed(&directory));
    auto *grid = directory.findChild<QTableView *>(QStringLiteral("DataGrid1"));
    const QModelIndex second = grid->model()->index(1, 1);
    grid->setFocus();
    grid->setCurrentIndex(second);
    if (how == QLatin1String("double-click")) {
        const QPoint centre = grid->visualRect(second).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre);
    } else if (how == QLatin1String("Enter")) {
        QTest::keyClick(grid, Qt::Key_Return);
    } else {
        directory.findChild<QAction *>(QStringLiteral("profileAction"))->trigger();
    }
    ProfileWindow *profile = nullptr;
    QTRY_VERIFY((profile = directory.findChild<ProfileWindow *>()));
    QCOMPARE(directory.findChildren<ProfileWindow *>().size(), 1);
    QCOMPARE(profile->series().first().examinee.code, QStringLiteral("K2"));
    QVERIFY(directory.isVisible());
}

void ProfileWindowTest::incompleteExamineeIsRefused() {
    FrmCode directory;
    ProfileWindow *profile = openFromGrid(directory, 2);
    QVERIFY(profile);
    QTRY_VERIFY(profile->isVisible());
    QVERIFY(!profile->findChild<QWidget *>(QStringLiteral("profilePage"))->isVisible());
    const auto *refusal = profile->findChild<QLabel *>(QStringLiteral("refusalLabel"));
    QVERIFY(refusal->isVisible());
    QVERIFY2(refusal->text().endsWith(QStringLiteral("\n\n3  17  ")), qPrintable(refusal->text()));
    for (const char *name : {"compareButton", "savePdfButton", "savePngButton"})
        QVERIFY(!profile->findChild<QPushButton *>(QLatin1String(name))->isEnabled());
}

void ProfileWindowTest::comparison_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("the same person under another code") << "k2" << QString() << QStringList{"K1", "K2"};
    QTest::newRow("a code nobody has") << "K999" << notice(Notices::deleteCodeNotFound) << QStringList{"K1"};
    QTest::newRow("no code") << "" << notice(Notices::examineeCodeMissing) << QStringList{"K1"};
    QTest::newRow("an examinee with answers missing") << "K3" << "3  17  " << QStringList{"K1"};
}

void ProfileWindowTest::comparison() {
    QFETCH(QString, typed);
    QFETCH(QString, message);
    QFETCH(QStringList, codes);
    FrmCode directory;
    ProfileWindow *profile = openFromGrid(directory, 0);
    QVERIFY(profile);
    profile->findChild<QLineEdit *>(QStringLiteral("compareCode"))->setText(typed);
    SeenBox seen;
    // Armed only when a box is due: a watcher left waiting would answer another test's box.
    if (!message.isEmpty())
        answerNextMessageBox(&seen);
    profile->findChild<QPushButton *>(QStringLiteral("compareButton"))->click();
    QCOMPARE(seen.seen, !message.isEmpty());
    QVERIFY2(seen.text.endsWith(message), qPrintable(seen.text));
    QStringList shown;
    for (const ProfileSeries &series : profile->series())
        shown << series.examinee.code;
    QCOMPARE(shown, codes);
    QVERIFY(profile->series().last().colour != profile->series().first().colour || codes.size() == 1);
}

void ProfileWindowTest::savedFiles_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("magic");
    QTest::newRow("PDF") << "savePdfButton" << "K1.pdf" << QByteArray("%PDF");
    QTest::newRow("PNG") << "savePngButton" << "K1.png" << QByteArray("\x89PNG");
    QTest::newRow("PDF into a folder that does not exist") << "savePdfButton" << "none/K1.pdf" << QByteArray();
}

void ProfileWindowTest::savedFiles() {
    QFETCH(QString, button);
    QFETCH(QString, name);
    QFETCH(QByteArray, magic);
    FrmCode directory;
    ProfileWindow *profile = openFromGrid(directory, 0);
    QVERIFY(profile);
    profile->compareWith(QStringLiteral("K2"));
    const QString path = m_folder.filePath(name);
    QFile::remove(path);
    SeenFileDialog dialog;
    answerNextFileDialog(&dialog, path);
    SeenBox seen;
    answerNextMessageBox(&seen);
    profile->findChild<QPushButton *>(button)->click();
    QTRY_VERIFY(seen.seen);
    QFile file(path);
    QCOMPARE(file.exists(), !magic.isEmpty());
    if (magic.isEmpty()) {
        QCOMPARE(seen.title, QStringLiteral("خطا"));
        QVERIFY(QDir(QFileInfo(path).path()).isEmpty());
        return;
    }
    QCOMPARE(seen.text, notice(Notices::fileSaved));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(magic.size()) == magic);
    if (magic == "%PDF") {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        const QString words = QString::fromUtf8(text.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
        for (const QString &expected : {QStringLiteral("K1"), QStringLiteral("K2"), QStringLiteral("نمرات")})
            QVERIFY2(words.contains(expected), qPrintable(words));
    } else {
        QCOMPARE(QImage(path).size(), (ProfileSheet::pageSize * 1.6).toSize());
    }
}

// Ctrl+E on the directory narrowed to group B; the progress dialog's cancel is pressed while rows
// are written.
void ProfileWindowTest::cancelledExportLeavesNoFile() {
    FrmCode directory;
    directory.show();
    QVERIFY(QTest::qWaitForWindowExposed(&directory));
    const QString path = m_folder.filePath(QStringLiteral("cancelled.csv"));
    SeenFileDialog dialog;
    answerNextFileDialog(&dialog, path);
    QTimer cancel;
    bool cancelled = false;
    connect(&cancel, &QTimer::timeout, [&directory, &cancelled]() {
        auto *progress = directory.findChild<QProgressDialog *>(QStringLiteral("exportProgress"));
        if (progress && progress->isVisible() && !cancelled) {
            progress->cancel();
            cancelled = true;
        }
    });
    cancel.start(1);
    QTest::keyClick(&directory, Qt::Key_E, Qt::ControlModifier);
    QTRY_VERIFY(cancelled);
    QTRY_VERIFY(!directory.findChild<QProgressDialog *>(QStringLiteral("exportProgress")));
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(m_folder.path()).entryList({QStringLiteral("cancelled*")}), QStringList());
}

QTEST_MAIN(ProfileWindowTest)
#include "ProfileWindowTest.moc"
