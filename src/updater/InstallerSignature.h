#pragma once

#include <QByteArray>
#include <QString>

// The check a downloaded installer must pass before it is started: a detached Ed25519ph
// signature (64 bytes, the file hashed as it is read) made with the vendor's secret key.
namespace InstallerSignature {

// Empty when `signature` holds for the whole content of `file` under `publicKey` (32 bytes);
// otherwise the reason, in English, for the user.
QString problem(const QString &file, const QByteArray &signature, const QByteArray &publicKey);

// The key installers are checked against: the vendor's release key. Only while a test server on
// this computer stands in for the update server (Hosts::testUpdateServer()), the variable
// KELTO_TEST_RELEASE_KEY may name a public key file (32 bytes, as the signing tool writes it) to
// trust instead, so that tests sign with a throw-away key pair; a file that cannot be read gives
// an empty key, which every signature fails. Without a test server the variable is ignored.
QByteArray trustedKey();

} // namespace InstallerSignature
