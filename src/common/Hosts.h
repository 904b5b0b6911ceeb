#pragma once

#include <QString>

// The vendor's hosts, all in one place. They stay under the reserved ".example" domain
// until the vendor names real ones.
namespace Hosts {
inline QString vendorSite() { return QStringLiteral("http://www.kelto.example"); }
inline QString shopSite() { return QStringLiteral("http://shop.kelto.example"); }
inline QString updateServer() { return QStringLiteral("http://update.kelto.example"); }

inline QString helpPage() { return vendorSite() + QStringLiteral("/software/software-settings.html"); }
inline QString versionFile() { return updateServer() + QStringLiteral("/Soft/Kelto/LastVersion.txt"); }
inline QString installer() { return updateServer() + QStringLiteral("/Soft/Kelto/setup-Kelto.exe"); }

inline QString contactEmail() { return QStringLiteral("support@kelto.example"); }
inline QString contactWeb() { return QStringLiteral("www.kelto.example"); }
} // namespace Hosts
