#include "PrintServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <csignal>
#include <sys/prctl.h>

namespace {

// A printer whose language is PDF: CUPS's pdftopdf filter is the last, the file device gets its PDF.
// (Qt's print dialog needs the encoding named.)
const char pdfPrinterDescription[] = "*PPD-Adobe: \"4.3\"\n*LanguageEncoding: ISOLatin1\n*ModelName: \"PDF\"\n"
                                     "*NickName: \"PDF\"\n"
                                     "*cupsFilter2: \"application/vnd.cups-pdf application/pdf 0 -\"\n";

QString executable(const QString &name) {
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/usr/local/sbin"}) : found;
}

// Unchecked: the server does not start without its files, and says so.
void writeFile(const QString &path, const QByteArray &content) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
}

} // namespace

PrintServer::PrintServer() {
    // The filters run as CUPS's own user, who must pass through the folder to the spooled job.
    QFile::setPermissions(m_dir.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

PrintServer::~PrintServer() { stop(); }

bool PrintServer::start(QString *error) {
    if (m_cupsd.state() != QProcess::NotRunning)
        return true;
    const QDir dir(m_dir.path());
    for (const char *folder : {"etc", "spool/tmp", "cache", "state", "log", "out"})
        dir.mkpath(folder);
    const QString files =
        QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/spool/tmp\nCacheDir %1/cache\n"
                       "StateDir %1/state\nAccessLog %1/log/access\nErrorLog %1/log/error\n"
                       "PageLog %1/log/page\nFileDevice Yes\nSystemGroup root\n");
    const QString server =
        QStringLiteral("Listen %1/cups.sock\nBrowsing No\nDefaultAuthType None\nDirtyCleanInterval 0\n");
    writeFile(dir.filePath("cups-files.conf"), files.arg(dir.path()).toUtf8());
    writeFile(dir.filePath("cupsd.conf"), server.arg(dir.path()).toUtf8());
    writeFile(dir.filePath("pdf.ppd"), pdfPrinterDescription);
    m_cupsd.start(executable("cupsd"), {"-f", "-c", dir.filePath("cupsd.conf"), "-s", dir.filePath("cups-files.conf")});
    if (!m_cupsd.waitForStarted(60000)) {
        *error = QStringLiteral("cupsd (Debian package cups) did not start: ") + m_cupsd.errorString();
        return false;
    }
    qputenv("CUPS_SERVER", dir.filePath("cups.sock").toUtf8());
    // Ready once it answers on its socket; a busy machine may take a while.
    for (QDeadlineTimer deadline(60000); !deadline.hasExpired() && m_cupsd.state() != QProcess::NotRunning;
         QThread::msleep(100)) {
        QString answer;
        if (administer("lpstat", {"-r"}, &answer) && answer.startsWith("scheduler is running"))
            return true;
    }
    *error = QStringLiteral("cupsd did not answer within a minute: ") + QString::fromLocal8Bit(m_cupsd.readAll());
    stop();
    return false;
}

void PrintServer::stop() {
    if (m_cupsd.state() == QProcess::NotRunning)
        return;
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(60000)) {
        m_cupsd.kill();
        m_cupsd.waitForFinished(60000);
    }
}

bool PrintServer::addQueue(const QString &name, QString *error) {
    const QString device = QStringLiteral("file://") + printedFile(name);
    return administer("lpadmin", {"-p", name, "-E", "-v", device, "-P", m_dir.filePath("pdf.ppd")}, error) &&
           administer("lpadmin", {"-d", name}, error);
}

bool PrintServer::administer(const QString &tool, const QStringList &arguments, QString *output) const {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(executable(tool), QStringList{"-h", m_dir.filePath("cups.sock")} + arguments);
    const bool finished = process.waitForFinished(60000);
    if (output)
        *output = finished ? QString::fromLocal8Bit(process.readAll()) : tool + QStringLiteral(" did not finish");
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

QString PrintServer::printedFile(const QString &queue) const { return m_dir.filePath("out/" + queue + ".pdf"); }
