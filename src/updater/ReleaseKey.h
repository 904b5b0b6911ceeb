#pragma once

#include <QByteArray>

// The vendor's release-signing public key (Ed25519). Installers offered by the update server
// carry a detached signature made with the matching secret key, which never enters the
// repository; see tools/release-signing/ for making a key pair and signing a release.
inline QByteArray releasePublicKey() {
    static const unsigned char key[32] = {
        0xfc, 0xb5, 0xf3, 0xbb, 0xc3, 0xad, 0xf1, 0xb1, 0xaa, 0x65, 0x3b, 0xdb, 0x67, 0xce, 0xa4, 0x12,
        0x3c, 0x9d, 0x95, 0xc3, 0x4f, 0xe0, 0x00, 0x6a, 0xa9, 0xb5, 0xa2, 0x88, 0xdb, 0x2f, 0x4a, 0xcd,
    };
    return QByteArray(reinterpret_cast<const char *>(key), sizeof key);
}
