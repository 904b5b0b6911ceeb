#include "scoring/DataRPrint.h"

#include "scoring/PrintQueue.h"
#include "scoring/ReportRenderer.h"
#include "widgets/WaitingMessageBox.h"

#include <QAction>
#include <QFileDialog>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QStyle>
#include <QToolBar>

#include <optional>
#include <utility>

namespace {

QString reportTitle(const ReportLayout &layout) {
    return layout.section(detailSectionName())->label(QStringLiteral("Label3"))->caption.trimmed();
}

// Saving a PDF straight from the preview's tool bar, for users without a printer at hand.
void addSaveAsPdf(QPrintPreviewDialog *preview, const DataRPrint &report) {
    auto *toolBar = preview->findChild<QToolBar *>();
    if (!toolBar)
        return;
    toolBar->addSeparator();
    QAction *save =
        toolBar->addAction(preview->style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("ذخيره PDF"));
    save->setObjectName(QStringLiteral("saveAsPdf"));
    QObject::connect(save, &QAction::triggered, preview, [preview, report] {
        const QString path =
            QFileDialog::getSaveFileName(preview, QStringLiteral("ذخيره PDF"), QStringLiteral("Kelto.pdf"),
                                         QStringLiteral("PDF (*.pdf)"), nullptr, QFileDialog::DontUseNativeDialog);
        QString error;
        if (!path.isEmpty() && !report.exportPdf(path, &error))
            WaitingMessageBox::show(preview, error, QStringLiteral("خطا"), QMessageBox::Warning);
    });
}

// The preview of one report. Printing from it asks the print server whether the chosen queue takes
// the job and whether it holds it afterwards; a report that was not printed is named so, and the
// preview stays open, to print again or to save the report as a PDF.
class ReportPreview : public QPrintPreviewDialog {
public:
    explicit ReportPreview(const DataRPrint &report) : m_report(report) {
        connect(this, &QPrintPreviewDialog::paintRequested, this, &ReportPreview::paint);
    }

    // Called by the preview once its print dialog was answered and the pages were sent.
    void accept() override {
        const PrintQueue::Outcome outcome = std::exchange(m_printed, PrintQueue::Outcome::Sent);
        if (outcome == PrintQueue::Outcome::Sent)
            QPrintPreviewDialog::accept();
        else
            WaitingMessageBox::show(this, PrintQueue::notPrintedText(outcome), QStringLiteral("خطا"),
                                    QMessageBox::Warning);
    }

private:
    void paint(QPrinter *target) {
        // The preview draws its pages through a picture engine of its own; any other is the print.
        if (target->paintEngine()->type() == QPaintEngine::Picture) {
            QPainter painter(target);
            m_report.print(painter, *target);
        } else {
            m_printed = print(*target);
        }
    }

    PrintQueue::Outcome print(QPrinter &printer) const {
        std::optional<PrintQueue> queue;
        if (printer.outputFormat() == QPrinter::NativeFormat) {
            queue.emplace(printer.printerName());
            if (const PrintQueue::Outcome ready = queue->checkBeforeSending(); ready != PrintQueue::Outcome::Sent) {
                qWarning("Not sent to %s: %s", qPrintable(printer.printerName()), qPrintable(queue->serverMessage()));
                return ready;
            }
        }
        QPainter painter;
        if (!painter.begin(&printer))
            return PrintQueue::Outcome::NotPainted;
        m_report.print(painter, printer);
        if (!painter.end())
            return PrintQueue::Outcome::NotPainted;
        const PrintQueue::Outcome sent = queue ? queue->checkSentJob(printer.docName()) : PrintQueue::Outcome::Sent;
        if (sent != PrintQueue::Outcome::Sent)
            qWarning("Not printed on %s: %s", qPrintable(printer.printerName()), qPrintable(queue->serverMessage()));
        return sent;
    }

    const DataRPrint m_report;
    PrintQueue::Outcome m_printed = PrintQueue::Outcome::Sent;
};

} // namespace

DataRPrint::DataRPrint() : m_layout(resultReportLayout()) {}

void DataRPrint::setCaption(const QString &labelName, const QString &text) {
    if (ReportLabel *label = m_layout.section(detailSectionName())->label(labelName))
        label->caption = text;
    else
        qWarning("The report has no label %s", qPrintable(labelName));
}

QString DataRPrint::caption(const QString &labelName) const {
    const ReportLabel *label = m_layout.section(detailSectionName())->label(labelName);
    return label ? label->caption : QString();
}

void DataRPrint::setRowCount(int rows) { m_rows = qMax(0, rows); }

int DataRPrint::rowCount() const { return m_rows; }

const ReportLayout &DataRPrint::layout() const { return m_layout; }

// Without a row of data the page still prints, as a blank form: the fixed captions and the
// clinic's letterhead, with no examinee's details or scores that could belong to someone else.
ReportLayout DataRPrint::printedLayout() const {
    ReportLayout printed = m_layout;
    if (m_rows == 0)
        for (ReportSection &section : printed.sections)
            for (ReportLabel &label : section.labels)
                if (label.filling == ReportLabel::Filling::Row)
                    label.caption.clear();
    return printed;
}

void DataRPrint::print(QPainter &painter, QPagedPaintDevice &device) const {
    ReportRenderer::paint(painter, device, printedLayout(), qMax(1, m_rows));
}

bool DataRPrint::exportPdf(const QString &path, QString *error) const {
    // Written beside the target and put in its place only when whole, so a failed export never
    // leaves a broken file behind or spoils one that was there.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(reportTitle(m_layout));
        writer.setCreator(QStringLiteral("Kelto"));
        ReportRenderer::setUpPage(writer);
        QPainter painter;
        if (!painter.begin(&writer)) {
            if (error)
                *error = QStringLiteral("Cannot paint on %1").arg(path);
            file.cancelWriting();
            return false;
        }
        print(painter, writer);
        painter.end();
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

QWidget *DataRPrint::showPreview() const {
    // The preview keeps its own copy: the captions stay those of this print, whatever the caller
    // sets or destroys afterwards.
    auto *preview = new ReportPreview(*this);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->setWindowModality(Qt::NonModal);
    preview->setWindowTitle(reportTitle(m_layout));
    QPrinter *printer = preview->printer();
    printer->setFullPage(true);
    ReportRenderer::setUpPage(*printer);
    printer->setDocName(reportTitle(m_layout));
    addSaveAsPdf(preview, *this);
    preview->show();
    return preview;
}
