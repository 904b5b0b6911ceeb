#include "support/KeltoFiles.h"
#include "support/TempProgramFolder.h"

#include "store/DataSource.h"
#include "store/Database.h"
#include "widgets/FieldBinding.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

#include <memory>

namespace {

// Types text as a user would, one character at a time (QTest::keyClicks cannot type Persian).
void type(QWidget *widget, const QString &text) {
    for (const QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}
} // namespace

class FieldBindingTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void controlsShowCurrentRow();
    void editsWriteField_data();
    void editsWriteField();
    void showingIsNotEditing();
    void fixedListWithUnknownValue();
    void programSetValueShows();
    void rebindingReplacesTie();
    void survivesDestroyedSourceOrControl();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<DataSource> m_examinees;
};

void FieldBindingTest::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QVERIFY(m_folder->openDatabase());
    QSqlQuery query(Database::connection());
    QVERIFY(query.exec(QStringLiteral("INSERT INTO IDE (Code, FName, LName, Jens) VALUES ('c1', 'Ali', 'Ahmadi', "
                                      "'مرد'), ('c2', 'Sara', 'Karimi', 'زن')")));
    m_examinees = std::make_unique<DataSource>(QStringLiteral("IDE"));
}

void FieldBindingTest::cleanup() {
    m_examinees.reset();
    m_folder.reset();
}

void FieldBindingTest::controlsShowCurrentRow() {
    QLineEdit box;
    QLabel label;
    QComboBox editableList;
    editableList.setEditable(true);
    QComboBox fixedList;
    fixedList.addItems({QStringLiteral("مرد"), QStringLiteral("زن")});
    FieldBinding::bind(&box, m_examinees.get(), QStringLiteral("fname"));
    FieldBinding::bind(&label, m_examinees.get(), QStringLiteral("LName"));
    FieldBinding::bind(&editableList, m_examinees.get(), QStringLiteral("Code"));
    FieldBinding::bind(&fixedList, m_examinees.get(), QStringLiteral("Jens"));
    QCOMPARE(box.text(), QStringLiteral("Ali"));
    QCOMPARE(label.text(), QStringLiteral("Ahmadi"));
    QCOMPARE(editableList.currentText(), QStringLiteral("c1"));
    QCOMPARE(fixedList.currentIndex(), 0);

    m_examinees->setFilter(QStringLiteral("code"), QStringLiteral("c2"));
    QCOMPARE(box.text(), QStringLiteral("Sara"));
    QCOMPARE(label.text(), QStringLiteral("Karimi"));
    QCOMPARE(editableList.currentText(), QStringLiteral("c2"));
    QCOMPARE(fixedList.currentIndex(), 1);

    m_examinees->addNew();
    QCOMPARE(box.text(), QString());
    QCOMPARE(label.text(), QString());
    QCOMPARE(fixedList.currentIndex(), -1);
}

void FieldBindingTest::editsWriteField_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("text");
    QTest::newRow("typed") << "type"
                           << "Reza";
    QTest::newRow("typed in Persian") << "type" << QStringLiteral("رضا");
    QTest::newRow("set by the program") << "setText"
                                        << "Reza";
    QTest::newRow("emptied by the program") << "setText"
                                            << "";
}

void FieldBindingTest::editsWriteField() {
    QFETCH(QString, how);
    QFETCH(QString, text);
    QLineEdit box;
    FieldBinding::bind(&box, m_examinees.get(), QStringLiteral("FName"));
    if (how == QLatin1String("type")) {
        box.clear();
        type(&box, text);
    } else {
        box.setText(text);
    }
    QCOMPARE(m_examinees->value(QStringLiteral("FName")), text);
    QVERIFY(m_examinees->save());
    QCOMPARE(valueInFile(QStringLiteral("SELECT FName FROM IDE WHERE Code = 'c1'")), text);
}

// Showing a row must not count as a change: a save afterwards leaves what another window stored.
void FieldBindingTest::showingIsNotEditing() {
    QLineEdit box;
    QComboBox fixedList;
    fixedList.addItems({QStringLiteral("مرد"), QStringLiteral("زن")});
    FieldBinding::bind(&box, m_examinees.get(), QStringLiteral("FName"));
    FieldBinding::bind(&fixedList, m_examinees.get(), QStringLiteral("Jens"));
    m_examinees->setFilter(QStringLiteral("code"), QStringLiteral("c2"));
    m_examinees->setFilter(QStringLiteral("code"), QStringLiteral("c1"));
    QSqlQuery(Database::connection())
        .exec(QStringLiteral("UPDATE IDE SET FName = 'other', Jens = 'x' WHERE Code = 'c1'"));
    QVERIFY(m_examinees->save());
    QCOMPARE(valueInFile(QStringLiteral("SELECT FName || Jens FROM IDE WHERE Code = 'c1'")), QStringLiteral("otherx"));
}

void FieldBindingTest::fixedListWithUnknownValue() {
    QSqlQuery(Database::connection()).exec(QStringLiteral("UPDATE IDE SET Jens = 'unknown' WHERE Code = 'c2'"));
    QComboBox fixedList;
    fixedList.addItems({QStringLiteral("مرد"), QStringLiteral("زن")});
    FieldBinding::bind(&fixedList, m_examinees.get(), QStringLiteral("Jens"));
    m_examinees->setFilter(QStringLiteral("code"), QStringLiteral("c2"));
    QCOMPARE(fixedList.currentIndex(), -1);
    QCOMPARE(m_examinees->value(QStringLiteral("Jens")), QStringLiteral("unknown"));
    fixedList.setCurrentIndex(1); // the user picks an entry
    QCOMPARE(m_examinees->value(QStringLiteral("Jens")), QStringLiteral("زن"));
}

void FieldBindingTest::programSetValueShows() {
    QLineEdit box;
    FieldBinding::bind(&box, m_examinees.get(), QStringLiteral("Code"));
    m_examinees->setValue(QStringLiteral("code"), QStringLiteral("c1-new"));
    QCOMPARE(box.text(), QStringLiteral("c1-new"));
    // A new row's identifier appears once the database has given it.
    QLineEdit idBox;
    FieldBinding::bind(&idBox, m_examinees.get(), QStringLiteral("ID"));
    m_examinees->addNew();
    QCOMPARE(idBox.text(), QString());
    box.setText(QStringLiteral("c3"));
    QVERIFY(m_examinees->save());
    QCOMPARE(idBox.text(), valueInFile(QStringLiteral("SELECT ID FROM IDE WHERE Code = 'c3'")));
}

void FieldBindingTest::rebindingReplacesTie() {
    QLineEdit box;
    FieldBinding::bind(&box, m_examinees.get(), QStringLiteral("FName"));
    FieldBinding::bind(&box, m_examinees.get(), QStringLiteral("LName"));
    QCOMPARE(box.text(), QStringLiteral("Ahmadi"));
    box.setText(QStringLiteral("Rahimi"));
    QCOMPARE(m_examinees->value(QStringLiteral("LName")), QStringLiteral("Rahimi"));
    QCOMPARE(m_examinees->value(QStringLiteral("FName")), QStringLiteral("Ali"));

    // Another source: the first one no longer hears the box nor moves it.
    DataSource other(QStringLiteral("IDE"));
    other.setFilter(QStringLiteral("code"), QStringLiteral("c2"));
    FieldBinding::bind(&box, &other, QStringLiteral("FName"));
    QCOMPARE(box.text(), QStringLiteral("Sara"));
    box.setText(QStringLiteral("Mina"));
    QCOMPARE(other.value(QStringLiteral("FName")), QStringLiteral("Mina"));
    QCOMPARE(m_examinees->value(QStringLiteral("LName")), QStringLiteral("Rahimi"));
    m_examinees->refresh();
    QCOMPARE(box.text(), QStringLiteral("Mina"));

    // Bound twice to the same field: one tie, one write.
    FieldBinding::bind(&box, &other, QStringLiteral("FName"));
    QSignalSpy writes(&other, &DataSource::valueChanged);
    box.setText(QStringLiteral("Nava"));
    QCOMPARE(writes.count(), 1);

    FieldBinding::unbind(&box);
    box.setText(QStringLiteral("free"));
    QCOMPARE(other.value(QStringLiteral("FName")), QStringLiteral("Nava"));
}

void FieldBindingTest::survivesDestroyedSourceOrControl() {
    auto source = std::make_unique<DataSource>(QStringLiteral("IDE"));
    QLineEdit box;
    FieldBinding::bind(&box, source.get(), QStringLiteral("FName"));
    source.reset();
    box.setText(QStringLiteral("after the source")); // nothing to write into, and no crash
    QCOMPARE(box.text(), QStringLiteral("after the source"));

    auto label = std::make_unique<QLabel>();
    FieldBinding::bind(label.get(), m_examinees.get(), QStringLiteral("FName"));
    label.reset();
    m_examinees->setFilter(QStringLiteral("code"), QStringLiteral("c2")); // must not reach the deleted label
    QCOMPARE(m_examinees->value(QStringLiteral("FName")), QStringLiteral("Sara"));
}

QTEST_MAIN(FieldBindingTest)
#include "FieldBindingTest.moc"
