#include "support/ModalDriver.h"
#include "support/PostgresServer.h"
#include "support/RoadSteps.h"
#include "support/TempProgramFolder.h"
#include "support/Typing.h"

#include "app/KeltoStart.h"
#include "scoring/ScoringKey.h"
#include "store/EngineSettings.h"
#include "widgets/Notices.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTest>
#include <QTextStream>

#include <memory>

namespace {
const Examinee atReception{"N1", "پريسا", "موسوي", "زن", "27", "مجرد", "A", "ليسانس"};
const Examinee inRoomTwo{"N2", "بهرام", "نوري", "مرد", "52", "متأهل", "C", "ديپلم"};
const QString correctedName = QStringLiteral("پريا");
const QString scoresLine = QStringLiteral("scores=");

QString answerOf(int item) { return QString::number(item * 5 % 9 + 1); }

QStringList allAnswers() {
    QStringList answers;
    for (int item = 1; item <= 40; ++item)
        answers << answerOf(item);
    return answers;
}

// Starts Kelto on a program folder; the main window is up when it returns.
std::unique_ptr<KeltoStart> startIn(const QString &folder) {
    auto start = std::make_unique<KeltoStart>(folder);
    if (start->run(*qApp) != KeltoStart::Outcome::MainWindowShown ||
        !QTest::qWaitForWindowExposed(start->mainWindow()))
        start.reset();
    return start;
}

// The scoring window's sheet for the code, shown after the code was chosen; the boxes that came
// up on the way in boxes.
QWidget *scoreSheetFor(const QString &code, QString *boxes) {
    click(mainWindow(), "Command3");
    QWidget *sheet = visibleWindow(QStringLiteral("FrmkLID"));
    SeenBox asked;
    answerNextInputBox(&asked, code);
    *boxes = boxTextsShownBy([&]() { click(sheet, "Command1"); });
    return sheet;
}

// The codes the directory shows for each last name, chosen one after the other.
QStringList directoryCodesByLastName(const QStringList &lastNames) {
    QStringList found;
    actOnNextWindow(QStringLiteral("FrmCode"), [&](QWidget *directory) {
        for (const QString &lastName : lastNames) {
            chooseFromList(child<QComboBox>(directory, "DataCombo1"), lastName);
            found << gridCodes(directory).join(QLatin1Char(','));
        }
        click(directory, "Command6");
    });
    click(mainWindow(), "Command4");
    return found;
}
} // namespace

// The second workstation of the clinic, in a process of its own with its own program folder:
// it tests and scores the examinee registered at reception, corrects a name, registers one of
// its own and finds both in its directory. It prints the scores it showed for the parent to
// compare.
class RoomTwo : public QObject {
    Q_OBJECT
public:
    explicit RoomTwo(const QString &folder) : m_folder(folder) {}

private slots:
    void initTestCase() { QVERIFY((m_start = startIn(m_folder))); }
    void cleanupTestCase() {
        endProcess();
        m_start.reset();
    }
    void testsTheExamineeFromReception();
    void scoresAndCorrectsTheName();
    void registersAnotherAndFindsBoth();

private:
    QString m_folder;
    std::unique_ptr<KeltoStart> m_start;
};

void RoomTwo::testsTheExamineeFromReception() {
    QCOMPARE(runTest(atReception.code,
                     [](QWidget *window) {
                         click(window, "Command1");
                         for (int item = 1; item <= 40; ++item) {
                             typeText(child(window, "Text12"), answerOf(item));
                             if (item < 40)
                                 click(window, "CmdNext");
                         }
                         click(window, "Command5");
                     }),
             QString());
}

void RoomTwo::scoresAndCorrectsTheName() {
    QString boxes;
    QWidget *sheet = scoreSheetFor(atReception.code, &boxes);
    QCOMPARE(boxes, QString());
    QCOMPARE(child<QLineEdit>(sheet, "Text12")->text(), atReception.lastName);
    QTextStream(stdout) << scoresLine << shownScores(sheet).join(QLatin1Char('|')) << Qt::endl;
    retype(child(sheet, "Text23_3"), correctedName);
    SeenBox saved;
    answerNextMessageBox(&saved);
    click(sheet, "Command2");
    QCOMPARE(saved.text, QString::fromUtf8(Notices::changesSaved.text));
    click(sheet, "Command4");
    QVERIFY(mainWindow());
}

void RoomTwo::registersAnotherAndFindsBoth() {
    registerExaminee(inRoomTwo);
    QCOMPARE(directoryCodesByLastName({atReception.lastName, inRoomTwo.lastName}),
             QStringList({atReception.code, inRoomTwo.code}));
}

// Two workstations of a clinic, each with its program folder and its Kelto.ini, share one
// register on one PostgreSQL server through the windows: reception registers, room two (another
// process, running while reception's window stays open) tests and scores, and each directory and
// scoring window shows what the other saved.
class ClinicNetworkTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup() { m_roadBroken = m_roadBroken || QTest::currentTestFailed(); }
    void receptionRegisters();
    void roomTwoTestsScoresAndRegisters();
    void receptionSeesRoomTwosWork();

private:
    void pointAtServer(const TempProgramFolder &folder);
    QString serverField(const QString &sql);

    PostgresServer m_server;
    TempProgramFolder m_reception, m_roomTwo;
    std::unique_ptr<KeltoStart> m_start;
    QStringList m_roomTwoScores;
    bool m_roadBroken = false;
};

void ClinicNetworkTest::initTestCase() {
    QString error;
    QVERIFY2(m_server.start(&error) && m_server.createDatabase(QStringLiteral("clinic"), &error), qPrintable(error));
    pointAtServer(m_reception);
    pointAtServer(m_roomTwo);
    QVERIFY((m_start = startIn(m_reception.path())));
}

void ClinicNetworkTest::cleanupTestCase() {
    endProcess();
    m_start.reset();
}

void ClinicNetworkTest::init() {
    if (m_roadBroken)
        QSKIP("an earlier step of the road failed");
}

void ClinicNetworkTest::pointAtServer(const TempProgramFolder &folder) {
    QVERIFY(folder.isValid());
    QFile settings(folder.filePath(EngineSettings::fileName()));
    QVERIFY(settings.open(QIODevice::WriteOnly));
    settings.write(m_server.keltoIniFor(QStringLiteral("clinic")));
}

QString ClinicNetworkTest::serverField(const QString &sql) {
    QString value, error;
    if (!m_server.runSql(QStringLiteral("clinic"), sql, &value, &error))
        qWarning("%s", qPrintable(error));
    return value;
}

void ClinicNetworkTest::receptionRegisters() {
    registerExaminee(atReception);
    QCOMPARE(serverField(QStringLiteral("SELECT \"FName\" || '|' || \"LName\" FROM \"IDE\" WHERE \"Code\" = 'N1'")),
             atReception.firstName + QLatin1Char('|') + atReception.lastName);
    QCOMPARE(serverField(QStringLiteral("SELECT count(*) FROM \"Answer\" WHERE \"Code\" = 'N1'")), QStringLiteral("1"));
}

void ClinicNetworkTest::roomTwoTestsScoresAndRegisters() {
    QProcess roomTwo;
    roomTwo.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    roomTwo.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--room-two"), m_roomTwo.path()});
    // Reception's windows keep turning while room two works.
    QTRY_VERIFY2_WITH_TIMEOUT(roomTwo.state() == QProcess::NotRunning, "room two did not finish its road", 600000);
    const QString output = QString::fromUtf8(roomTwo.readAllStandardOutput());
    QVERIFY2(roomTwo.exitStatus() == QProcess::NormalExit && roomTwo.exitCode() == 0, qPrintable(output));
    for (const QString &line : output.split(QLatin1Char('\n')))
        if (line.startsWith(scoresLine))
            m_roomTwoScores = line.mid(scoresLine.size()).trimmed().split(QLatin1Char('|'));
    QCOMPARE(m_roomTwoScores, scoreTexts(allAnswers()));
}

void ClinicNetworkTest::receptionSeesRoomTwosWork() {
    // Reception's main window has stayed open the whole time; its windows read the register again.
    QCOMPARE(directoryCodesByLastName({atReception.lastName, inRoomTwo.lastName}),
             QStringList({atReception.code, inRoomTwo.code}));
    QString boxes;
    QWidget *sheet = scoreSheetFor(atReception.code, &boxes);
    QCOMPARE(boxes, QString());
    QCOMPARE(shownScores(sheet), m_roomTwoScores);
    QCOMPARE(child<QLineEdit>(sheet, "Text23_3")->text(), correctedName);
    click(sheet, "Command4");
    QVERIFY(mainWindow());
}

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    if (argc == 3 && QByteArray(argv[1]) == "--room-two") {
        RoomTwo roomTwo(QString::fromLocal8Bit(argv[2]));
        return QTest::qExec(&roomTwo, 1, argv);
    }
    ClinicNetworkTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ClinicNetworkTest.moc"
