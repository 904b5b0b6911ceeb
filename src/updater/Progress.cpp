#include "updater/Progress.h"

#include "common/Hosts.h"
#include "common/Twips.h"
#include "updater/FileDownloader.h"
#include "updater/FileNameRule.h"
#include "updater/InstallerSignature.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

const QString kDownloadCaption = QStringLiteral("دانلود");
const QString kCancelCaption = QStringLiteral("انصراف");
const QString kExitCaption = QStringLiteral("خروج");
const QString kSuccessText = QStringLiteral("دانلود فايل با موفقيت به پايان رسيد ");

// The installer's detached signature lies beside it on the update server.
const QString kSignatureSuffix = QStringLiteral(".sig");

void showBox(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
             Qt::LayoutDirection direction) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.setLayoutDirection(direction);
    box.exec();
}

template <typename T> T *named(T *widget, const char *name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

Progress::Progress(QWidget *parent)
    : QWidget(parent), cmdUpdate(named(new QPushButton(kDownloadCaption, this), "cmdUpdate")),
      Command1(named(new QPushButton(kExitCaption, this), "Command1")),
      ProgressBar(named(new QProgressBar(this), "ProgressBar")), Label4(named(new QLabel(this), "Label4")),
      Label3(named(new QLabel(QStringLiteral("Kelto"), this), "Label3")),
      Label2Mail(named(new QLabel(Hosts::contactEmail(), this), "Label2")),
      Label2Web(named(new QLabel(Hosts::contactWeb(), this), "Label2")),
      Label1(named(new QLabel(QStringLiteral("Address File :"), this), "Label1")),
      Text(named(new QLineEdit(Hosts::installer(), this), "Text")), Timer1(named(new QTimer(this), "Timer1")),
      m_downloader(named(new FileDownloader(this), "FileDownloader")),
      m_signatureDownloader(named(new FileDownloader(this), "SignatureDownloader")),
      m_folder(QCoreApplication::applicationDirPath()), m_releaseKey(InstallerSignature::trustedKey()),
      m_endProgram([] { QCoreApplication::exit(0); }) {
    setObjectName(QStringLiteral("Progress"));
    setWindowTitle(QStringLiteral("Downloading File ... "));
    setLayoutDirection(Qt::RightToLeft);
    move(twipsPoint(2475, 1620));
    setFixedSize(twipsSize(8400, 3075));

    QFont titleFont = Label3->font();
    titleFont.setPointSize(22);
    titleFont.setBold(true);
    Label3->setFont(titleFont);
    Label3->setGeometry(twipsRect(4800, 240, 2040, 660));
    Label2Mail->setGeometry(twipsRect(3480, 960, 3360, 300));
    Label2Web->setGeometry(twipsRect(3480, 1260, 3360, 300));
    m_downloader->move(twipsPoint(7080, 300));
    m_signatureDownloader->hide();
    Label1->setGeometry(twipsRect(6600, 1620, 1560, 300));
    Text->setGeometry(twipsRect(240, 1620, 6240, 300));
    Label1->hide();
    Text->hide();

    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->setTextVisible(false);
    // The platform style draws a sliver of the bar at 0 when laid out right to left; an empty
    // download should show an empty bar.
    ProgressBar->setStyleSheet(QStringLiteral("QProgressBar { border: 1px solid #8aa4c0; border-radius: 3px; "
                                              "background: white; } QProgressBar::chunk { background: #3d7fd6; }"));
    ProgressBar->setGeometry(twipsRect(960, 1980, 7200, 300));
    Label4->setGeometry(twipsRect(240, 1980, 600, 300));
    Label4->setAlignment(Qt::AlignCenter);
    cmdUpdate->setGeometry(twipsRect(6840, 2460, 1320, 420));
    Command1->setGeometry(twipsRect(5400, 2460, 1320, 420));

    connect(cmdUpdate, &QPushButton::clicked, this, &Progress::cmdUpdate_Click);
    connect(Command1, &QPushButton::clicked, this, &Progress::Command1_Click);
    connect(Timer1, &QTimer::timeout, this, &Progress::Timer1_Timer);
    connect(m_downloader, &FileDownloader::DownloadProgress, this, &Progress::FileDownloader_DownloadProgress);
    connect(m_downloader, &FileDownloader::DowloadComplete, this, &Progress::FileDownloader_DowloadComplete);
    connect(m_downloader, &FileDownloader::DownloadErrors, this, &Progress::FileDownloader_DownloadErrors);
    Timer1->start(1000);
}

void Progress::cmdUpdate_Click() {
    if (cmdUpdate->text() != kDownloadCaption) {
        m_downloader->Cancel();
        ProgressBar->setValue(0);
        cmdUpdate->setText(kDownloadCaption);
        return;
    }
    // A cancelled download may still be ending; it is gone a moment later.
    if (m_downloader->isBusy())
        return;
    cmdUpdate->setText(kCancelCaption);
    ProgressBar->setValue(0);
    const QString address = Text->text();
    m_destination = m_folder + QLatin1Char('/') + localFileName(address);
    m_downloader->DownloadFile(address, m_destination);
}

void Progress::Command1_Click() {
    m_downloader->Cancel();
    m_signatureDownloader->Cancel();
    m_endProgram();
}

void Progress::Timer1_Timer() { Label4->setText(QString::number(ProgressBar->value())); }

void Progress::FileDownloader_DownloadProgress(const QString &intPercent) {
    ProgressBar->setValue(qBound(0, intPercent.toInt(), 100));
}

void Progress::FileDownloader_DowloadComplete() {
    // Only a whole installer that carries the vendor's signature is ever started.
    cmdUpdate->setEnabled(false);
    const QString problem = installerProblem();
    cmdUpdate->setEnabled(true);
    if (!problem.isEmpty()) {
        QFile::remove(m_destination);
        FileDownloader_DownloadErrors(problem + QStringLiteral("\n\nThe downloaded file has been deleted and nothing "
                                                               "was started."));
        return;
    }
    showBox(this, QMessageBox::Information, QStringLiteral("Success"), kSuccessText, Qt::RightToLeft);
    cmdUpdate->setText(kDownloadCaption);
    ProgressBar->setValue(0);
    startInstaller();
    m_endProgram();
}

void Progress::FileDownloader_DownloadErrors(const QString &strError) {
    showBox(this, QMessageBox::Critical, QStringLiteral("Error"), strError, Qt::LeftToRight);
    backToReady();
    m_downloader->Cancel();
}

void Progress::backToReady() {
    cmdUpdate->setText(kDownloadCaption);
    ProgressBar->setValue(0);
}

// Empty when the downloaded installer carries the vendor's signature; otherwise why not.
QString Progress::installerProblem() {
    QString problem;
    const QByteArray signature = fetchSignature(&problem);
    if (!problem.isEmpty())
        return problem;
    return InstallerSignature::problem(m_destination, signature, m_releaseKey);
}

// Fetches the installer's signature from beside it on the server through a downloader of its
// own, reads it and removes the fetched file again.
QByteArray Progress::fetchSignature(QString *problem) {
    const QString signatureFile = m_destination + kSignatureSuffix;
    QString failure;
    auto onError = connect(m_signatureDownloader, &FileDownloader::DownloadErrors, this,
                           [&failure](const QString &error) { failure = error; });
    m_signatureDownloader->DownloadFile(Text->text() + kSignatureSuffix, signatureFile);
    disconnect(onError);

    QFile file(signatureFile);
    QByteArray signature;
    if (failure.isEmpty() && file.open(QIODevice::ReadOnly))
        signature = file.read(1024);
    file.close();
    QFile::remove(signatureFile);
    if (signature.isEmpty()) {
        *problem = QStringLiteral("The installer's signature could not be fetched from the update server.");
        if (!failure.isEmpty())
            *problem += QStringLiteral("\n") + failure;
    }
    return signature;
}

// Starts the saved installer from the updater's folder without waiting for it. A downloaded file
// carries no permission to run, so it is given one first.
void Progress::startInstaller() {
    QFile::setPermissions(m_destination, QFile::permissions(m_destination) | QFileDevice::ExeOwner |
                                             QFileDevice::ExeUser | QFileDevice::ExeGroup);
    QProcess::startDetached(m_destination, {}, m_folder);
}

void Progress::closeEvent(QCloseEvent *event) {
    // Closing the window by its frame ends a running download, so the updater can end with it.
    m_downloader->Cancel();
    m_signatureDownloader->Cancel();
    event->accept();
}

// The window's background picture: a calm blue gradient with a light band behind the title.
void Progress::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    QLinearGradient sky(rect().topLeft(), rect().bottomLeft());
    sky.setColorAt(0.0, QColor(0xe8, 0xf1, 0xfb));
    sky.setColorAt(1.0, QColor(0xb8, 0xd0, 0xea));
    painter.fillRect(rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 110));
    painter.drawRoundedRect(QRectF(twipsRect(120, 120, 8160, 1560)), 12, 12);
}
