#include "profile/ExportDialogs.h"

#include "profile/ExamineeExport.h"
#include "widgets/Notices.h"
#include "widgets/WaitingMessageBox.h"
#include "store/DataSource.h"

#include <QDir>
#include <QFileDialog>
#include <QProgressDialog>
#include <QStandardPaths>

QString ExportDialogs::askSavePath(QWidget *owner, const QString &suggestedName, const QString &nameFilter) {
    QFileDialog dialog(owner);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(nameFilter);
    dialog.setDefaultSuffix(QFileInfo(suggestedName).suffix());
    dialog.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    dialog.selectFile(suggestedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void ExportDialogs::reportOutcome(QWidget *owner, bool saved, const QString &failure) {
    if (saved)
        showNotice(owner, Notices::fileSaved);
    else
        WaitingMessageBox::show(owner, QStringLiteral("فايل ذخيره نشد") + QStringLiteral("\n\n") + failure,
                                QStringLiteral("خطا"), QMessageBox::Warning);
}

void ExportDialogs::exportExaminees(QWidget *owner, const DataSource &shown) {
    const QString path = askSavePath(owner, QStringLiteral("Kelto.csv"), QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty())
        return;
    QProgressDialog progress(QStringLiteral("آزمودني ها در فايل نوشته مي شوند"), QStringLiteral("انصراف"), 0,
                             shown.recordCount(), owner);
    progress.setObjectName(QStringLiteral("exportProgress"));
    progress.setWindowTitle(QStringLiteral("خروجي CSV"));
    progress.setWindowModality(Qt::WindowModal);
    // Shown at once: while it is up the directory takes no clicks that would change what is written.
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    // The bar moves in about 200 steps: each one lets the dialog repaint and take a click on its
    // cancel button, which costs more than the rows between them.
    const qint64 step = progress.maximum() / 200;
    qint64 shownRows = 0;
    QString failure;
    const ExamineeExport::Outcome outcome = ExamineeExport::write(
        path, shown.filter(),
        [&](qint64 written) {
            if (written - shownRows >= step) {
                shownRows = written;
                progress.setValue(int(std::min<qint64>(written, progress.maximum())));
            }
            return !progress.wasCanceled();
        },
        &failure);
    progress.reset();
    if (outcome != ExamineeExport::Outcome::Cancelled)
        reportOutcome(owner, outcome == ExamineeExport::Outcome::Written, failure);
}
