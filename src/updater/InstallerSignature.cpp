#include "updater/InstallerSignature.h"

#include "common/Hosts.h"
#include "updater/ReleaseKey.h"

#include <QFile>

#include <sodium.h>

namespace InstallerSignature {

QString problem(const QString &file, const QByteArray &signature, const QByteArray &publicKey) {
    if (sodium_init() < 0)
        return QStringLiteral("The installer's signature cannot be checked on this computer.");
    if (publicKey.size() != crypto_sign_PUBLICKEYBYTES)
        return QStringLiteral("The release key built into the updater is damaged.");
    if (signature.size() != crypto_sign_BYTES)
        return QStringLiteral("The installer's signature from the update server is malformed.");

    QFile installer(file);
    if (!installer.open(QIODevice::ReadOnly))
        return QStringLiteral("The downloaded installer cannot be read: ") + installer.errorString();
    crypto_sign_ed25519ph_state state;
    crypto_sign_ed25519ph_init(&state);
    QByteArray buffer(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 count = installer.read(buffer.data(), buffer.size());
        if (count < 0)
            return QStringLiteral("The downloaded installer cannot be read: ") + installer.errorString();
        if (count == 0)
            break;
        crypto_sign_ed25519ph_update(&state, reinterpret_cast<const unsigned char *>(buffer.constData()),
                                     static_cast<unsigned long long>(count));
    }
    if (crypto_sign_ed25519ph_final_verify(&state, reinterpret_cast<const unsigned char *>(signature.constData()),
                                           reinterpret_cast<const unsigned char *>(publicKey.constData())) != 0)
        return QStringLiteral("The downloaded installer does not carry the vendor's signature.");
    return {};
}

QByteArray trustedKey() {
    const QString testKey = qEnvironmentVariable("KELTO_TEST_RELEASE_KEY");
    if (testKey.isEmpty() || Hosts::testUpdateServer().isEmpty())
        return releasePublicKey();
    QFile file(testKey);
    return file.open(QIODevice::ReadOnly) ? file.read(crypto_sign_PUBLICKEYBYTES + 1) : QByteArray();
}

} // namespace InstallerSignature
