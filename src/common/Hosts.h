#pragma once

#include <QString>

// The vendor's hosts, all in one place. They stay under the reserved ".example" domain
// until the vendor names real ones.
namespace Hosts {
inline QString vendorSite() { return QStringLiteral("http://www.kelto.example"); }
inline QString shopSite() { return QStringLiteral("http://shop.kelto.example"); }

// For tests only: the variable KELTO_TEST_UPDATE_SERVER ("http://127.0.0.1:<port>") puts a local
// server in place of the update server, so that the whole update road (version file, installer,
// signature) can be run against a folder served on this computer. It is honoured only when it
// names a loopback address with the "http" scheme; anything else is ignored and the vendor's
// server stays. Empty when no such server is in effect.
QString testUpdateServer();

// The update server: the vendor's, unless a test server is in effect.
QString updateServer();

inline QString helpPage() { return vendorSite() + QStringLiteral("/software/software-settings.html"); }
inline QString versionFile() { return updateServer() + QStringLiteral("/Soft/Kelto/LastVersion.txt"); }
inline QString installer() { return updateServer() + QStringLiteral("/Soft/Kelto/setup-Kelto.exe"); }

inline QString contactEmail() { return QStringLiteral("support@kelto.example"); }
inline QString contactWeb() { return QStringLiteral("www.kelto.example"); }
} // namespace Hosts
