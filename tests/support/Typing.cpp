#include "Typing.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>

void typeText(QWidget *control, const QString &text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, control, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

void chooseFromList(QComboBox *list, const QString &entry) {
    const int row = list->findText(entry);
    QVERIFY2(row >= 0, qPrintable(entry));
    list->showPopup();
    QAbstractItemView *view = list->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QModelIndex index = list->model()->index(row, 0);
    view->scrollTo(index);
    // Right to left, an entry may reach past a narrow list's edge: the click goes on its visible part.
    const QRect shown = view->visualRect(index).intersected(view->viewport()->rect());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, shown.center());
    QTRY_VERIFY(!view->isVisible());
}
