#include "store/EngineSettings.h"

#include "store/StoreMessages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStringList>
#include <QTemporaryFile>

namespace {
const QStringList sslModes{QStringLiteral("disable"), QStringLiteral("allow"),     QStringLiteral("prefer"),
                           QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full")};

// libpq's default for a host on this machine; a host elsewhere must prove who it is.
bool isLocalHost(const QString &host) {
    return host.startsWith(QLatin1Char('/')) || host == QLatin1String("localhost") ||
           host == QLatin1String("127.0.0.1") || host == QLatin1String("::1");
}

// Writes the typed server into the settings file at path (as QSettings writes it).
bool putServer(const QString &path, const EngineSettings::Typed &typed) {
    QSettings settings(path, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Database"));
    settings.setValue(QStringLiteral("Driver"), QStringLiteral("PSQL"));
    settings.setValue(QStringLiteral("Host"), typed.host.trimmed());
    if (typed.port.trimmed().isEmpty())
        settings.remove(QStringLiteral("Port"));
    else
        settings.setValue(QStringLiteral("Port"), typed.port.trimmed());
    settings.setValue(QStringLiteral("Database"), typed.database.trimmed());
    settings.setValue(QStringLiteral("User"), typed.user.trimmed());
    settings.endGroup();
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool hasControlCharacter(const EngineSettings::Typed &typed) {
    for (const QString &value : {typed.host, typed.port, typed.database, typed.user}) {
        for (const QChar c : value)
            if (c.category() == QChar::Other_Control)
                return true;
    }
    return false;
}

// The file's lines as QSettings reads them, for messages that point at one.
class Lines {
public:
    explicit Lines(const QByteArray &text) : m_lines(QString::fromUtf8(text).split(QLatin1Char('\n'))) {}

    // The first line that is neither blank, a comment, a [section] nor a key=value; 0 when none.
    int firstMalformed() const {
        static const QRegularExpression wellFormed(QStringLiteral("^\\s*(|[;#].*|\\[[^\\]]+\\]\\s*|[^=\\[]+=.*)$"));
        for (int i = 0; i < m_lines.size(); ++i)
            if (!wellFormed.match(QString(m_lines.at(i)).remove(QLatin1Char('\r'))).hasMatch())
                return i + 1;
        return 0;
    }
    // The line of a key in the [Database] section, else the section's line, else 1.
    int lineOf(const QString &key) const {
        int section = 0;
        bool inSection = false;
        for (int i = 0; i < m_lines.size(); ++i) {
            const QString line = m_lines.at(i).trimmed();
            if (line.startsWith(QLatin1Char('['))) {
                inSection = line.compare(QLatin1String("[Database]"), Qt::CaseInsensitive) == 0;
                if (inSection && !section)
                    section = i + 1;
            } else if (inSection &&
                       line.section(QLatin1Char('='), 0, 0).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
                return i + 1;
            }
        }
        return section ? section : 1;
    }

private:
    QStringList m_lines;
};
} // namespace

namespace EngineSettings {
QString Choice::serverName() const { return QStringLiteral("%1@%2:%3/%4").arg(user, host).arg(port).arg(database); }

bool read(const QString &path, Choice *choice, QString *errorMessage) {
    *choice = Choice();
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        *errorMessage = StoreMessages::cannotOpen(path, file.errorString());
        return false;
    }
    const Lines lines(file.readAll());
    const auto refuse = [&](int line, const QString &reason) {
        *errorMessage = StoreMessages::cannotOpen(QStringLiteral("%1:%2").arg(path).arg(line), reason);
        return false;
    };
    if (const int malformed = lines.firstMalformed())
        return refuse(malformed, QStringLiteral("not an INI line"));
    QSettings settings(path, QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return refuse(1, QStringLiteral("not an INI file"));
    settings.beginGroup(QStringLiteral("Database"));
    const QString driver = settings.value(QStringLiteral("Driver"), QStringLiteral("SQLITE")).toString().trimmed();
    if (driver.compare(QLatin1String("SQLITE"), Qt::CaseInsensitive) == 0)
        return true;
    if (driver.compare(QLatin1String("PSQL"), Qt::CaseInsensitive) != 0)
        return refuse(lines.lineOf(QStringLiteral("Driver")),
                      QStringLiteral("Driver=%1: the driver is SQLITE or PSQL").arg(driver));
    choice->onServer = true;
    choice->host = settings.value(QStringLiteral("Host")).toString().trimmed();
    if (choice->host.isEmpty())
        return refuse(lines.lineOf(QStringLiteral("Host")), QStringLiteral("Driver=PSQL needs Host="));
    if (settings.contains(QStringLiteral("Port"))) {
        bool isNumber = false;
        const QString port = settings.value(QStringLiteral("Port")).toString().trimmed();
        choice->port = port.toInt(&isNumber);
        if (!isNumber || choice->port < 1 || choice->port > 65535)
            return refuse(lines.lineOf(QStringLiteral("Port")), QStringLiteral("Port=%1: not a port number").arg(port));
    }
    choice->database = settings.value(QStringLiteral("Database")).toString().trimmed();
    choice->user = settings.value(QStringLiteral("User")).toString().trimmed();
    choice->sslMode = settings.value(QStringLiteral("SslMode")).toString().trimmed();
    if (choice->sslMode.isEmpty())
        choice->sslMode = isLocalHost(choice->host) ? QStringLiteral("prefer") : QStringLiteral("verify-full");
    else if (!sslModes.contains(choice->sslMode))
        return refuse(lines.lineOf(QStringLiteral("SslMode")),
                      QStringLiteral("SslMode=%1: one of %2").arg(choice->sslMode, sslModes.join(QLatin1Char(' '))));
    return true;
}
} // namespace EngineSettings

namespace EngineSettings {
QString filePath() { return QDir::current().absoluteFilePath(fileName()); }

// The typed values go into a copy of the file beside it, which is read back as the start reads
// Kelto.ini: what cannot be written so that it reads back the same is refused.
bool typedServer(const QString &path, const Typed &typed, Choice *choice, QString *errorMessage) {
    if (typed.host.trimmed().isEmpty()) {
        *errorMessage = StoreMessages::hostMissing();
        return false;
    }
    bool isNumber = typed.port.trimmed().isEmpty();
    const int port = isNumber ? 5432 : typed.port.trimmed().toInt(&isNumber);
    if (!isNumber || port < 1 || port > 65535) {
        *errorMessage = StoreMessages::portNotANumber();
        return false;
    }
    QFile original(path);
    QTemporaryFile copy(QDir::temp().filePath(QStringLiteral("Kelto-XXXXXX.ini")));
    if (!copy.open() ||
        (original.exists() && (!original.open(QIODevice::ReadOnly) || copy.write(original.readAll()) < 0))) {
        *errorMessage = StoreMessages::cannotOpen(path, original.errorString());
        return false;
    }
    copy.close();
    QString readError;
    const bool same = !hasControlCharacter(typed) && putServer(copy.fileName(), typed) &&
                      read(copy.fileName(), choice, &readError) && choice->onServer &&
                      choice->host == typed.host.trimmed() && choice->port == port &&
                      choice->database == typed.database.trimmed() && choice->user == typed.user.trimmed();
    if (!same)
        *errorMessage = StoreMessages::cannotWriteServer(path);
    return same;
}

bool writeServer(const QString &path, const Typed &typed, QString *errorMessage) {
    Choice checked;
    if (!typedServer(path, typed, &checked, errorMessage))
        return false;
    // QSettings writes the whole file under another name and renames it into place.
    if (putServer(path, typed))
        return true;
    *errorMessage = StoreMessages::notWritable(path);
    return false;
}
} // namespace EngineSettings
