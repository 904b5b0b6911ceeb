#include <QTest>
class ProgressTest : public QObject { Q_OBJECT };
QTEST_MAIN(ProgressTest)
#include "ProgressTest.moc"
