#include "common/Hosts.h"

#include <QHostAddress>
#include <QUrl>

namespace Hosts {

QString testUpdateServer() {
    const QString text = qEnvironmentVariable("KELTO_TEST_UPDATE_SERVER");
    if (text.isEmpty())
        return {};
    const QUrl url(text, QUrl::StrictMode);
    // Only a bare server address: a path, query or credentials would change the addresses built on it.
    if (!url.isValid() || url.scheme() != QLatin1String("http") || !url.userInfo().isEmpty() ||
        !(url.path().isEmpty() || url.path() == QLatin1String("/")) || url.hasQuery() || url.hasFragment())
        return {};
    const QString host = url.host();
    if (host != QLatin1String("localhost") && !QHostAddress(host).isLoopback())
        return {};
    return url.toString(QUrl::RemovePath | QUrl::StripTrailingSlash);
}

QString updateServer() {
    const QString testServer = testUpdateServer();
    return testServer.isEmpty() ? QStringLiteral("http://update.kelto.example") : testServer;
}

} // namespace Hosts
