#include "scoring/DataRPrint.h"
#include "scoring/PrintQueue.h"
#include "widgets/PersianApplication.h"
#include "support/ModalDriver.h"
#include "support/PdfText.h"
#include "support/PrintServer.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDialogButtonBox>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QToolBar>

#include <functional>

namespace {

enum class Fault { None, QueueRefuses, QueueRemoved, ServerStops };

const QString familyName = QStringLiteral("کريمي اصفهاني");

DataRPrint report() {
    DataRPrint report;
    report.setCaption("Label10", familyName);
    return report;
}

// Presses the preview's print button and, in the print dialog it opens, lets happen what happens
// while the user is there, then presses the dialog's print button.
bool answerPrintDialog(QWidget *preview, const std::function<void()> &whileInDialog) {
    const QString print = QCoreApplication::translate("QPrintPreviewDialog", "Print");
    const QList<QAction *> actions = preview->findChild<QToolBar *>()->actions();
    const auto action = std::find_if(actions.cbegin(), actions.cend(), [&](QAction *a) { return a->text() == print; });
    bool answered = false;
    QTimer poll;
    const QDeadlineTimer deadline(60000);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            poll.stop();
            whileInDialog();
            auto *buttons = dialog->findChild<QDialogButtonBox *>();
            for (QAbstractButton *button : buttons->buttons())
                if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                    button->click();
            answered = true;
        } else if (deadline.hasExpired() && QApplication::activeModalWidget()) {
            QApplication::activeModalWidget()->close();
        }
    });
    poll.start(10);
    if (action != actions.cend())
        (*action)->trigger();
    return answered;
}

} // namespace

class ReportPrintingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();
    void printFromPreview_data();
    void printFromPreview();
    void jobSentAfterTheCheck_data();
    void jobSentAfterTheCheck();

private:
    PrintServer m_server;
};

void ReportPrintingTest::initTestCase() { setUpPersianApplication(*qApp); }

// A case that stopped the server and failed before it started it again leaves it stopped.
void ReportPrintingTest::init() {
    QString error;
    if (!m_server.start(&error))
        QSKIP(qPrintable("no print server to print through: " + error));
}

void ReportPrintingTest::cleanupTestCase() { m_server.stop(); }

void ReportPrintingTest::printFromPreview_data() {
    QTest::addColumn<QString>("queue");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("reason");
    QTest::newRow("queue accepts") << "accepts" << Fault::None << QString();
    QTest::newRow("queue refuses jobs") << "refuses" << Fault::QueueRefuses << "چاپگر کار چاپ نمي پذيرد";
    QTest::newRow("queue removed") << "removed" << Fault::QueueRemoved << "چاپگر انتخاب شده پيدا نشد";
    QTest::newRow("print server stopped") << "stopped" << Fault::ServerStops << "سرويس چاپ در دسترس نيست";
}

// Whatever goes wrong between the print dialog and its print button, the report that was not
// printed is named so and its preview stays, to be printed once the printer is back.
void ReportPrintingTest::printFromPreview() {
    QFETCH(QString, queue);
    QFETCH(Fault, fault);
    QFETCH(QString, reason);
    QString error;
    QVERIFY2(m_server.addQueue(queue, &error), qPrintable(error));
    QPointer<QWidget> preview = report().showPreview();
    MessageBoxRecorder boxes;
    QVERIFY2(answerPrintDialog(preview,
                               [&] {
                                   if (fault == Fault::QueueRefuses)
                                       m_server.administer("cupsreject", {queue});
                                   else if (fault == Fault::QueueRemoved)
                                       m_server.administer("lpadmin", {"-x", queue});
                                   else if (fault == Fault::ServerStops)
                                       m_server.stop();
                               }),
             "the print dialog did not come");
    if (fault != Fault::None) {
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes().first().icon, QMessageBox::Warning);
        const QString text = boxes.boxes().first().text;
        QVERIFY2(text.startsWith("گزارش چاپ نشد") && text.contains(reason), qPrintable(text));
        QVERIFY(preview && preview->isVisible());
        QVERIFY(!QFile::exists(m_server.printedFile(queue)));
        QVERIFY2(m_server.start(&error) && m_server.addQueue(queue, &error), qPrintable(error));
        QVERIFY2(answerPrintDialog(preview, [] {}), "the print dialog did not come again");
        QCOMPARE(boxes.boxes().size(), 1);
    }
    QTRY_VERIFY_WITH_TIMEOUT(preview.isNull(), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(pdfText(m_server.printedFile(queue)).contains(foldedText(familyName)), 60000);
}

void ReportPrintingTest::jobSentAfterTheCheck_data() {
    QTest::addColumn<QStringList>("beforeSending"); // a tool and its arguments, the queue's name last
    QTest::addColumn<QStringList>("afterSending");
    QTest::addColumn<PrintQueue::Outcome>("outcome");
    QTest::newRow("queue still accepts") << QStringList() << QStringList() << PrintQueue::Outcome::Sent;
    QTest::newRow("queue refuses since") << QStringList{"cupsreject"} << QStringList()
                                         << PrintQueue::Outcome::JobRefused;
    QTest::newRow("job cancelled") << QStringList{"cupsdisable"} << QStringList{"cancel", "-a"}
                                   << PrintQueue::Outcome::JobFailed;
}

// What changes on the server between the check and the sending, or right after it: a job that never
// came, or that was cancelled before it printed, is not taken for printed.
void ReportPrintingTest::jobSentAfterTheCheck() {
    QFETCH(QStringList, beforeSending);
    QFETCH(QStringList, afterSending);
    QFETCH(PrintQueue::Outcome, outcome);
    const QString queue = QString("late%1").arg(QTest::currentDataTag()).remove(' ');
    QString error;
    QVERIFY2(m_server.addQueue(queue, &error), qPrintable(error));
    PrintQueue check(queue);
    QCOMPARE(check.checkBeforeSending(), PrintQueue::Outcome::Sent);
    if (!beforeSending.isEmpty())
        QVERIFY2(m_server.administer(beforeSending.takeFirst(), beforeSending << queue, &error), qPrintable(error));
    QPrinter printer;
    printer.setPrinterName(queue);
    printer.setDocName("Kelto");
    QPainter painter(&printer);
    report().print(painter, printer);
    QVERIFY(painter.end());
    if (!afterSending.isEmpty())
        QVERIFY2(m_server.administer(afterSending.takeFirst(), afterSending << queue, &error), qPrintable(error));
    QCOMPARE(check.checkSentJob("Kelto"), outcome);
}

QTEST_MAIN(ReportPrintingTest)
#include "ReportPrintingTest.moc"
