#include "support/PostgresServer.h"
#include "support/StoreEngines.h"

#include "examinees/ExamineeRows.h"
#include "store/DataSource.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>
#include <QTextStream>

namespace {
constexpr int codes = 200;

// One workstation: registers the codes r0..r199 (in the given Latin case) as the registration
// panel saves them, and prints per code "saved", "told" (refused with the duplicate notice) or
// the error.
int race(const QStringList &arguments) {
    EngineSettings::Choice server;
    server.onServer = true;
    server.host = arguments.value(2);
    server.port = arguments.value(3).toInt();
    server.database = arguments.value(4);
    server.user = arguments.value(5);
    server.sslMode = QStringLiteral("disable");
    const bool upper = arguments.value(6) == QLatin1String("upper");
    QString error;
    if (!Database::openServer(server, &error)) {
        qCritical("%s", qPrintable(error));
        return 2;
    }
    DataSource examinees(QStringLiteral("IDE")), answers(QStringLiteral("Answer"));
    QTextStream out(stdout);
    for (int i = 0; i < codes; ++i) {
        const QString code = (upper ? QStringLiteral("R%1") : QStringLiteral("r%1")).arg(i);
        // Both workstations' checks have passed (ExamineeRows::codeInUse): the race is in the save.
        bool codeTaken = false;
        examinees.addNew();
        examinees.setValue(QStringLiteral("Code"), code);
        examinees.setValue(QStringLiteral("LName"), upper ? QStringLiteral("upper") : QStringLiteral("lower"));
        const bool saved = ExamineeRows::registerExaminee(examinees, answers, &error, &codeTaken);
        examinees.refresh();
        out << i << ' ' << (saved ? QStringLiteral("saved") : codeTaken ? QStringLiteral("told") : error) << '\n';
    }
    Database::close();
    return 0;
}
} // namespace

// Two workstations register the same 200 codes at the same moment, one in lower and one in upper
// Latin case: each code is registered once, both rows, and the other workstation is told.
class RegistrationRaceTest : public QObject {
    Q_OBJECT
private slots:
    void sameCodesFromTwoWorkstations();

private:
    StoreEngines m_engines;
};

void RegistrationRaceTest::sameCodesFromTwoWorkstations() {
    QString error;
    QVERIFY2(m_engines.openNewServerDatabase(&error), qPrintable(error));
    Database::close();
    const EngineSettings::Choice server = m_engines.lastChoice();
    QProcess workstations[2];
    for (int w = 0; w < 2; ++w) {
        workstations[w].start(QCoreApplication::applicationFilePath(),
                              {QStringLiteral("--race"), server.host, QString::number(server.port), server.database,
                               server.user, w ? QStringLiteral("upper") : QStringLiteral("lower")});
    }
    QStringList outcomes[2];
    for (int w = 0; w < 2; ++w) {
        QVERIFY2(workstations[w].waitForFinished(300000), "a workstation did not finish its 200 registrations");
        QCOMPARE(workstations[w].exitCode(), 0);
        for (const QByteArray &line : workstations[w].readAllStandardOutput().split('\n'))
            if (!line.isEmpty())
                outcomes[w] << QString::fromUtf8(line.mid(line.indexOf(' ') + 1));
        QCOMPARE(outcomes[w].size(), codes);
    }
    for (int i = 0; i < codes; ++i) {
        const QStringList pair{outcomes[0].at(i), outcomes[1].at(i)};
        QVERIFY2(pair.count(QStringLiteral("saved")) == 1 && pair.count(QStringLiteral("told")) == 1,
                 qPrintable(QStringLiteral("code %1: %2").arg(i).arg(pair.join(QStringLiteral(" / ")))));
    }
    // Exactly one examinee row and one answer row per code, of the same workstation.
    QString rows;
    QVERIFY(m_engines.server()->runSql(
        server.database,
        QStringLiteral("SELECT count(DISTINCT lower(e.\"Code\")) || '/' || count(*) || '/' || "
                       "count(*) FILTER (WHERE e.\"Code\" = a.\"Code\") FROM \"IDE\" e JOIN \"Answer\" a ON "
                       "lower(a.\"Code\") = lower(e.\"Code\")"),
        &rows));
    QCOMPARE(rows, QStringLiteral("%1/%1/%1").arg(codes));
    QString answersAlone;
    QVERIFY(
        m_engines.server()->runSql(server.database, QStringLiteral("SELECT count(*) FROM \"Answer\""), &answersAlone));
    QCOMPARE(answersAlone, QString::number(codes));
}

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (app.arguments().value(1) == QLatin1String("--race"))
        return race(app.arguments());
    RegistrationRaceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "RegistrationRaceTest.moc"
