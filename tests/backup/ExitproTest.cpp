#include "backup/exitpro.h"
#include "common/Twips.h"
#include "widgets/Navigation.h"
#include "widgets/PersianApplication.h"
#include "support/ModalDriver.h"
#include "support/ProgramEnd.h"
#include "support/TempProgramFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QTest>

#include <memory>

namespace {
const QString firstCaption = QStringLiteral(" تهيه نسخه پشتيبان");
const QString secondCaption = QStringLiteral("پشتيبان گيري");
} // namespace

class ExitproTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void opensPlainAndUnticked();
    void captionAlternatesIntoTheCheckBox();
    void outcomes_data();
    void outcomes();

private:
    QLabel *picture(const char *name) const { return m_dialog->findChild<QLabel *>(QString::fromLatin1(name)); }
    void clickPicture(const char *plain, const char *highlighted);

    std::unique_ptr<TempProgramFolder> m_folder;
    QPointer<exitpro> m_dialog;
    int m_mainWindowsShown = 0;
};

void ExitproTest::initTestCase() {
    setUpPersianApplication(*qApp);
    Navigation::setMainWindowFactory([this]() {
        auto *main = new QWidget;
        main->setObjectName(QStringLiteral("Frm1"));
        main->setAttribute(Qt::WA_DeleteOnClose);
        ++m_mainWindowsShown;
        return main;
    });
}

void ExitproTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->openDatabase());
    m_mainWindowsShown = 0;
    m_dialog = exitpro::showDialog();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog));
}

void ExitproTest::cleanup() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        delete widget;
    m_folder.reset();
}

void ExitproTest::clickPicture(const char *plain, const char *highlighted) {
    // From the background, so the pointer surely moves onto the picture.
    QTest::mouseMove(m_dialog, QPoint(4, 4));
    QTest::mouseMove(m_dialog, picture(plain)->geometry().center());
    QTRY_VERIFY(picture(highlighted)->isVisible());
    QTest::mouseClick(picture(highlighted), Qt::LeftButton, {}, picture(highlighted)->rect().center());
}

void ExitproTest::opensPlainAndUnticked() {
    QVERIFY(m_dialog->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(m_dialog->pos(), twipsPoint(5000, 4500));
    QVERIFY(!m_dialog->isModal());
    QCOMPARE(m_dialog->findChild<QLabel *>(QStringLiteral("Label1"))->text(),
             QStringLiteral("آيا براي خروج از برنامه اطمينان داريد"));
    auto *box = m_dialog->findChild<QCheckBox *>(QStringLiteral("Check1"));
    QVERIFY(!box->isChecked());
    QCOMPARE(box->text(), QStringLiteral("تهيه نسخه پشتيبان"));
    QVERIFY(picture("k1")->isVisible() && picture("C1")->isVisible());
    QVERIFY(!picture("k2")->isVisible() && !picture("C2")->isVisible());
    for (const char *name : {"k1", "k2", "C1", "C2"})
        QCOMPARE(picture(name)->size(), QSize(96, 35));
    QVERIFY(picture("k2")->pixmap().toImage() != picture("C2")->pixmap().toImage());
}

void ExitproTest::captionAlternatesIntoTheCheckBox() {
    auto *box = m_dialog->findChild<QCheckBox *>(QStringLiteral("Check1"));
    QTest::qWait(1100);
    QVERIFY(m_dialog->windowTitle() == firstCaption || m_dialog->windowTitle() == secondCaption);
    QVERIFY(box->text() == firstCaption || box->text() == secondCaption);
    // From then on the box shows each text in turn.
    QStringList shown{box->text()};
    for (int i = 0; i < 30 && shown.size() < 3; ++i) {
        QTest::qWait(100);
        if (box->text() != shown.last())
            shown << box->text();
    }
    QCOMPARE(shown.size(), 3);
    QCOMPARE(shown.at(0), shown.at(2));
    QVERIFY(shown.at(1) == firstCaption || shown.at(1) == secondCaption);
    QVERIFY(shown.at(0) != shown.at(1));
}

void ExitproTest::outcomes_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<bool>("backupWindow");
    QTest::addColumn<bool>("mainWindow");
    QTest::newRow("confirm") << "confirm" << false << true << false << false;
    QTest::newRow("confirm with backup") << "confirm" << true << false << true << false;
    QTest::newRow("cancel") << "cancel" << true << false << false << true;
    QTest::newRow("closed by the window manager") << "close" << false << false << false << true;
    QTest::newRow("escape") << "escape" << false << false << false << true;
}

void ExitproTest::outcomes() {
    QFETCH(QString, how);
    QFETCH(bool, ticked);
    QFETCH(bool, ends);
    QFETCH(bool, backupWindow);
    QFETCH(bool, mainWindow);
    m_dialog->findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(ticked);
    const bool ended = endsProgram([&]() {
        if (how == QLatin1String("confirm"))
            clickPicture("k1", "k2");
        else if (how == QLatin1String("cancel"))
            clickPicture("C1", "C2");
        else if (how == QLatin1String("close"))
            m_dialog->close();
        else
            QTest::keyClick(m_dialog, Qt::Key_Escape);
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(ended, ends);
    QCOMPARE(visibleWindow(QStringLiteral("Frmbackup")) != nullptr, backupWindow);
    QCOMPARE(m_mainWindowsShown, mainWindow ? 1 : 0);
    QCOMPARE(visibleWindow(QStringLiteral("Frm1")) != nullptr, mainWindow);
    if (backupWindow)
        QVERIFY(m_dialog && m_dialog->isHidden());
    if (!mainWindow)
        return;
    // Cancelled, the dialog is unloaded: the next one opens afresh.
    QVERIFY(m_dialog.isNull());
    m_dialog = exitpro::showDialog();
    QVERIFY(!m_dialog->findChild<QCheckBox *>(QStringLiteral("Check1"))->isChecked());
    QVERIFY(picture("k1")->isVisible() && picture("C1")->isVisible());
}

QTEST_MAIN(ExitproTest)
#include "ExitproTest.moc"
