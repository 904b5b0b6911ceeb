#pragma once

#include "common/AppVersion.h"
#include "common/Hosts.h"

#include <QString>
#include <QUrl>

// Asks the update server for the newest release: one request for the version file, answered
// with its body as text.
class VersionCheck {
public:
    // How long the whole fetch may take before it counts as failed.
    static constexpr int defaultTimeoutMs = 15000;

    explicit VersionCheck(const QUrl &versionFile = QUrl(Hosts::versionFile()));

    QUrl versionFile() const;
    void setVersionFile(const QUrl &versionFile);
    int timeoutMs() const;
    void setTimeoutMs(int timeoutMs);

    // Fetches the version file and returns its body as text. The caller waits: a local event loop
    // runs meanwhile but lets no user input through, so the window does not respond until the
    // answer is in. Every failure (refused, unknown host, time-out, an error status) gives an
    // empty text.
    QString fetchVersionText() const;

private:
    QUrl m_versionFile;
    int m_timeoutMs = defaultTimeoutMs;
};

// True when the server's text reads as a number strictly greater than the running version's text.
// Both are read as the value of a text, so "2.10" equals "2.1" and "2.01" is less than it.
bool isNewerVersion(const QString &serverText, const QString &runningText = runningVersionText());
