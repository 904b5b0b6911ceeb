#pragma once

#include <QByteArray>
#include <QString>

// The check a downloaded installer must pass before it is started: a detached Ed25519ph
// signature (64 bytes, the file hashed as it is read) made with the vendor's secret key.
namespace InstallerSignature {

// Empty when `signature` holds for the whole content of `file` under `publicKey` (32 bytes);
// otherwise the reason, in English, for the user.
QString problem(const QString &file, const QByteArray &signature, const QByteArray &publicKey);

} // namespace InstallerSignature
