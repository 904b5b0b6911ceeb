#include "support/KeltoFiles.h"
#include "support/TempProgramFolder.h"

#include "examinees/StoredCodeDigits.h"
#include "store/Database.h"

#include <QSqlQuery>
#include <QTest>

// A register kept before codes were stored with ASCII digits: its Persian-digit codes become
// reachable again, both rows together, and no two examinees are ever merged.
class StoredCodeDigitsTest : public QObject {
    Q_OBJECT

private slots:
    void foldsOldCodesOnceAndLeavesClashes() {
        TempProgramFolder folder;
        QVERIFY(folder.openDatabase());
        // A file made before codes were stored with ASCII digits only.
        QVERIFY(QSqlQuery(Database::connection()).exec(QStringLiteral("PRAGMA user_version = 0")));
        // "۳۴" (Persian) and "٥a" (Arabic-Indic) stand alone; "۱۲" clashes with "12" as stored.
        for (const QString code :
             {QStringLiteral("۳۴"), QStringLiteral("٥a"), QStringLiteral("۱۲"), QStringLiteral("12")}) {
            for (const char *table : {"IDE", "Answer"}) {
                QSqlQuery insert(Database::connection());
                QVERIFY(insert.prepare(QStringLiteral("INSERT INTO \"%1\" (\"Code\") VALUES (?)").arg(table)));
                insert.addBindValue(code);
                QVERIFY(insert.exec());
            }
        }

        QStringList clashes;
        QString error;
        QVERIFY2(StoredCodeDigits::foldStoredCodes(&clashes, &error), qPrintable(error));
        QCOMPARE(clashes, QStringList{QStringLiteral("۱۲")});
        const QStringList expected{QStringLiteral("12"), QStringLiteral("34"), QStringLiteral("5a"),
                                   QStringLiteral("۱۲")};
        for (const char *table : {"IDE", "Answer"})
            QCOMPARE(columnInFile(QStringLiteral("SELECT \"Code\" FROM \"%1\" ORDER BY \"Code\"").arg(table)),
                     expected);

        // Done once: a code written with Persian digits later (by another tool) is left alone.
        QSqlQuery later(Database::connection());
        QVERIFY(later.exec(QStringLiteral("INSERT INTO \"IDE\" (\"Code\") VALUES ('۷')")));
        clashes.clear();
        QVERIFY(StoredCodeDigits::foldStoredCodes(&clashes, &error));
        QVERIFY(clashes.isEmpty());
        QCOMPARE(valueInFile(QStringLiteral("SELECT \"Code\" FROM \"IDE\" WHERE \"Code\" = ?"), QStringLiteral("۷")),
                 QStringLiteral("۷"));
    }
};

QTEST_MAIN(StoredCodeDigitsTest)
#include "StoredCodeDigitsTest.moc"
