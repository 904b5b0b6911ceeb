#include "app/Frmskin.h"
#include "common/Twips.h"
#include "widgets/Navigation.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>

namespace {

bool anyWindowOnScreen() {
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->isVisible())
            return true;
    return false;
}

void processDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

class FrmskinTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensUnskinnedAtItsPlace();
    void confirmImageFollowsMouse();
    void normalImageIgnoresClick();
    void highlightedImageBringsMainWindowBack();
    void closedOtherwiseLeavesNoWindow();

private:
    QLabel *image(const char *name) const { return m_window->findChild<QLabel *>(QString::fromLatin1(name)); }

    QPointer<Frmskin> m_window;
    QList<QPointer<QWidget>> m_mainWindows;
};

void FrmskinTest::init() {
    m_mainWindows.clear();
    Navigation::setMainWindowFactory([this]() {
        auto *main = new QWidget;
        main->setObjectName(QStringLiteral("Frm1"));
        main->setAttribute(Qt::WA_DeleteOnClose);
        m_mainWindows << main;
        return main;
    });
    m_window = Frmskin::showNew();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void FrmskinTest::cleanup() {
    delete m_window;
    for (const QPointer<QWidget> &main : m_mainWindows)
        delete main;
    Navigation::setMainWindowFactory({});
}

void FrmskinTest::opensUnskinnedAtItsPlace() {
    QCOMPARE(m_window->objectName(), QStringLiteral("Frmskin"));
    QCOMPARE(m_window->size(), twipsSize(4710, 3000));
    QCOMPARE(m_window->pos(), twipsPoint(5000, 3500));
    QVERIFY(m_window->styleSheet().isEmpty());
    QVERIFY(m_window->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!m_window->isModal());

    QLabel *k1 = image("k1");
    QLabel *k2 = image("k2");
    QVERIFY(k1 && k2);
    QCOMPARE(k1->geometry(), k2->geometry());
    QVERIFY(m_window->rect().contains(k1->geometry()));
    QVERIFY(k1->isVisible());
    QVERIFY(!k2->isVisible());
    // The two states are two different pictures.
    QVERIFY(k1->pixmap().toImage() != k2->pixmap().toImage());
}

void FrmskinTest::confirmImageFollowsMouse() {
    QLabel *k1 = image("k1");
    QLabel *k2 = image("k2");
    const QPoint onImage = k1->geometry().center();
    const QPoint onFace(10, 10);

    QTest::mouseMove(m_window, onFace);
    QVERIFY(k1->isVisible());
    QTest::mouseMove(m_window, onImage);
    QTRY_VERIFY(k2->isVisible());
    QVERIFY(!k1->isVisible());
    // Moving about over the highlighted image keeps it.
    QTest::mouseMove(m_window, onImage + QPoint(3, 2));
    QCoreApplication::processEvents();
    QVERIFY(k2->isVisible());
    QTest::mouseMove(m_window, onFace);
    QTRY_VERIFY(k1->isVisible());
    QVERIFY(!k2->isVisible());
}

void FrmskinTest::normalImageIgnoresClick() {
    QLabel *k1 = image("k1");
    QTest::mouseClick(k1, Qt::LeftButton, {}, k1->rect().center());
    QCoreApplication::processEvents();
    QVERIFY(m_window);
    QVERIFY(m_window->isVisible());
    QVERIFY(m_mainWindows.isEmpty());
}

void FrmskinTest::highlightedImageBringsMainWindowBack() {
    QLabel *k1 = image("k1");
    QLabel *k2 = image("k2");
    QTest::mouseMove(m_window, k1->geometry().center());
    QTRY_VERIFY(k2->isVisible());
    QTest::mouseClick(k2, Qt::LeftButton, {}, k2->rect().center());
    processDeferredDeletes();

    QCOMPARE(m_mainWindows.size(), 1);
    QVERIFY(m_mainWindows.first());
    QVERIFY(m_mainWindows.first()->isVisible());
    QVERIFY(!m_mainWindows.first()->isModal());
    QVERIFY(m_window.isNull());
}

void FrmskinTest::closedOtherwiseLeavesNoWindow() {
    QVERIFY(m_window->close());
    processDeferredDeletes();
    QVERIFY(m_window.isNull());
    QVERIFY(m_mainWindows.isEmpty());
    QVERIFY(!anyWindowOnScreen());
}

QTEST_MAIN(FrmskinTest)
#include "FrmskinTest.moc"
