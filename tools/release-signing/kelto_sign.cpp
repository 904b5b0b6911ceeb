// Release signing for the updater: makes the vendor's key pair and signs installers.
//
//   kelto_sign keygen <secret-key-file> <public-key-file>
//       writes a new key pair (64-byte secret key, readable by its owner only; 32-byte public
//       key) and prints the public key as the byte list for src/updater/ReleaseKey.h
//   kelto_sign sign <secret-key-file> <installer>
//       writes <installer>.sig: the 64-byte detached Ed25519ph signature of the whole file
//   kelto_sign verify <public-key-file> <installer>
//       checks <installer> against <installer>.sig; exit status 0 when it holds
//
// The file is hashed as it is read (Ed25519ph), so installers of any size are signed without
// loading them into memory. Upload <installer>.sig beside the installer on the update server.
#include <sodium.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

bool readExactly(const std::string &path, unsigned char *out, size_t size) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof())
        return false;
    if (bytes.size() != size)
        return false;
    std::memcpy(out, bytes.data(), size);
    return true;
}

bool writeAll(const std::string &path, const unsigned char *data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    return out.good();
}

bool hashFile(const std::string &path, crypto_sign_ed25519ph_state *state) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::vector<char> buffer(1 << 16);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        if (in.gcount() > 0)
            crypto_sign_ed25519ph_update(state, reinterpret_cast<unsigned char *>(buffer.data()),
                                         static_cast<unsigned long long>(in.gcount()));
    }
    return in.eof();
}

int keygen(const std::string &secretPath, const std::string &publicPath) {
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
    crypto_sign_keypair(publicKey, secretKey);
    const mode_t previous = umask(077);
    const bool written = writeAll(secretPath, secretKey, sizeof secretKey);
    umask(previous);
    sodium_memzero(secretKey, sizeof secretKey);
    if (!written || !writeAll(publicPath, publicKey, sizeof publicKey)) {
        std::cerr << "kelto_sign: cannot write the key files\n";
        return 1;
    }
    std::printf("public key for src/updater/ReleaseKey.h:\n");
    for (size_t i = 0; i < sizeof publicKey; ++i)
        std::printf("0x%02x,%s", publicKey[i], (i % 8 == 7) ? "\n" : " ");
    return 0;
}

int sign(const std::string &secretPath, const std::string &installer) {
    unsigned char secretKey[crypto_sign_SECRETKEYBYTES];
    if (!readExactly(secretPath, secretKey, sizeof secretKey)) {
        std::cerr << "kelto_sign: " << secretPath << " is not a secret key file\n";
        return 1;
    }
    crypto_sign_ed25519ph_state state;
    crypto_sign_ed25519ph_init(&state);
    unsigned char signature[crypto_sign_BYTES];
    const bool hashed = hashFile(installer, &state);
    if (hashed)
        crypto_sign_ed25519ph_final_create(&state, signature, nullptr, secretKey);
    sodium_memzero(secretKey, sizeof secretKey);
    if (!hashed) {
        std::cerr << "kelto_sign: cannot read " << installer << "\n";
        return 1;
    }
    if (!writeAll(installer + ".sig", signature, sizeof signature)) {
        std::cerr << "kelto_sign: cannot write " << installer << ".sig\n";
        return 1;
    }
    return 0;
}

int verify(const std::string &publicPath, const std::string &installer) {
    unsigned char publicKey[crypto_sign_PUBLICKEYBYTES];
    unsigned char signature[crypto_sign_BYTES];
    if (!readExactly(publicPath, publicKey, sizeof publicKey) ||
        !readExactly(installer + ".sig", signature, sizeof signature)) {
        std::cerr << "kelto_sign: missing or malformed public key or signature\n";
        return 1;
    }
    crypto_sign_ed25519ph_state state;
    crypto_sign_ed25519ph_init(&state);
    if (!hashFile(installer, &state) || crypto_sign_ed25519ph_final_verify(&state, signature, publicKey) != 0) {
        std::cerr << "kelto_sign: the signature does not hold\n";
        return 1;
    }
    std::printf("signature holds\n");
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (sodium_init() < 0) {
        std::cerr << "kelto_sign: libsodium cannot start\n";
        return 1;
    }
    const std::string command = argc > 1 ? argv[1] : "";
    if (argc == 4 && command == "keygen")
        return keygen(argv[2], argv[3]);
    if (argc == 4 && command == "sign")
        return sign(argv[2], argv[3]);
    if (argc == 4 && command == "verify")
        return verify(argv[2], argv[3]);
    std::cerr << "usage: kelto_sign keygen <secret-key-file> <public-key-file>\n"
                 "       kelto_sign sign <secret-key-file> <installer>\n"
                 "       kelto_sign verify <public-key-file> <installer>\n";
    return 2;
}
