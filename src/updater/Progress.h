#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <functional>

class FileDownloader;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// The updater's one window: downloads the newest installer into the updater's own folder with a
// progress display, checks that it carries the vendor's signature, starts it and ends the updater.
class Progress : public QWidget {
    Q_OBJECT

public:
    explicit Progress(QWidget *parent = nullptr);

    // Where the installer is saved and started from; the updater's own folder unless changed.
    void setProgramFolder(const QString &folder) { m_folder = folder; }
    // The key installers must be signed with; InstallerSignature::trustedKey() unless changed.
    void setReleaseKey(const QByteArray &publicKey) { m_releaseKey = publicKey; }
    // What ending the updater means; quitting the application unless changed.
    void setProgramEnd(std::function<void()> end) { m_endProgram = std::move(end); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void cmdUpdate_Click();
    void Command1_Click();
    void Timer1_Timer();
    void FileDownloader_DownloadProgress(const QString &intPercent);
    void FileDownloader_DowloadComplete();
    void FileDownloader_DownloadErrors(const QString &strError);

    void backToReady();
    QString installerProblem();
    QByteArray fetchSignature(QString *problem);
    void startInstaller();

    QPushButton *cmdUpdate;
    QPushButton *Command1;
    QProgressBar *ProgressBar;
    QLabel *Label4;
    QLabel *Label3;
    // The two contact labels both carry the objectName "Label2": findChildren<QLabel *>("Label2")
    // gives the e-mail address first, then the web address.
    QLabel *Label2Mail;
    QLabel *Label2Web;
    QLabel *Label1;
    QLineEdit *Text;
    QTimer *Timer1;
    FileDownloader *m_downloader;
    FileDownloader *m_signatureDownloader;

    QString m_folder;
    QString m_destination;
    QByteArray m_releaseKey;
    std::function<void()> m_endProgram;
};
