#include "HashingKey.h"

#include <sodium.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <direct.h>
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const char kPrefix[] = "HK1:";
const int kVariant = sodium_base64_VARIANT_URLSAFE_NO_PADDING;

std::string keyFolder()
{
#if defined(_WIN32)
    const char *appData = std::getenv("APPDATA");
    return std::string(appData ? appData : ".") + "\\Oxtarne";
#else
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg)
        return std::string(xdg) + "/Oxtarne";
    const char *home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config/Oxtarne";
#endif
}

std::string keyPath() { return keyFolder() + "/HashingKey.key"; }

bool readKey(const std::string &path, unsigned char *key)
{
    FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    size_t got = std::fread(key, 1, crypto_secretbox_KEYBYTES, f);
    int extra = std::fgetc(f);
    std::fclose(f);
    return got == crypto_secretbox_KEYBYTES && extra == EOF;
}

#if !defined(_WIN32)
void makeFolder(const std::string &path)
{
    // Create every missing level; the last one is private to its owner.
    for (size_t pos = 1; pos != std::string::npos;) {
        pos = path.find('/', pos + 1);
        ::mkdir(path.substr(0, pos).c_str(), pos == std::string::npos ? 0700 : 0755);
    }
}
#endif

// Creates the key only when none exists yet, readable by its owner alone.
bool createKey(const std::string &path, unsigned char *key)
{
    randombytes_buf(key, crypto_secretbox_KEYBYTES);
#if defined(_WIN32)
    _mkdir(keyFolder().c_str());
    FILE *f = std::fopen(path.c_str(), "wbx");
    if (!f)
        return false;
    bool ok = std::fwrite(key, 1, crypto_secretbox_KEYBYTES, f) == crypto_secretbox_KEYBYTES;
    ok = (std::fclose(f) == 0) && ok;
    return ok;
#else
    makeFolder(keyFolder());
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return false;
    bool ok = ::write(fd, key, crypto_secretbox_KEYBYTES) == ssize_t(crypto_secretbox_KEYBYTES);
    ok = (::close(fd) == 0) && ok;
    if (!ok)
        ::unlink(path.c_str());
    return ok;
#endif
}

bool loadKey(unsigned char *key, bool mayCreate)
{
    if (sodium_init() < 0)
        return false;
    const std::string path = keyPath();
    if (readKey(path, key))
        return true;
    if (!mayCreate)
        return false;
    // Another process may have created the key between the read and the creation.
    return createKey(path, key) || readKey(path, key);
}

int deliver(const std::string &text, char *output, int outputSize)
{
    const int length = int(text.size());
    if (output && outputSize > length)
        std::memcpy(output, text.c_str(), text.size() + 1);
    return length;
}

std::string encrypt(const std::string &plain, const unsigned char *key)
{
    std::vector<unsigned char> box(crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES + plain.size());
    unsigned char *nonce = box.data();
    randombytes_buf(nonce, crypto_secretbox_NONCEBYTES);
    crypto_secretbox_easy(nonce + crypto_secretbox_NONCEBYTES,
                          reinterpret_cast<const unsigned char *>(plain.data()), plain.size(), nonce, key);
    std::string encoded(sodium_base64_ENCODED_LEN(box.size(), kVariant), '\0');
    sodium_bin2base64(encoded.data(), encoded.size(), box.data(), box.size(), kVariant);
    encoded.resize(std::strlen(encoded.c_str()));
    return kPrefix + encoded;
}

// Any damage to the stored form gives the empty text.
std::string decrypt(const std::string &stored, const unsigned char *key)
{
    const size_t prefixLength = sizeof(kPrefix) - 1;
    if (stored.compare(0, prefixLength, kPrefix) != 0)
        return {};
    const std::string encoded = stored.substr(prefixLength);
    std::vector<unsigned char> box(encoded.size());
    size_t boxLength = 0;
    if (sodium_base642bin(box.data(), box.size(), encoded.data(), encoded.size(), nullptr, &boxLength,
                          nullptr, kVariant) != 0)
        return {};
    const size_t overhead = crypto_secretbox_NONCEBYTES + crypto_secretbox_MACBYTES;
    if (boxLength < overhead)
        return {};
    std::string plain(boxLength - overhead, '\0');
    const unsigned char *nonce = box.data();
    if (crypto_secretbox_open_easy(reinterpret_cast<unsigned char *>(plain.data()),
                                   nonce + crypto_secretbox_NONCEBYTES, boxLength - crypto_secretbox_NONCEBYTES,
                                   nonce, key) != 0)
        return {};
    return plain;
}

} // namespace

int HashingKey_Encrypt(const char *input, char *output, int outputSize)
{
    unsigned char key[crypto_secretbox_KEYBYTES];
    if (!loadKey(key, true))
        return -1;
    const std::string stored = encrypt(input ? input : "", key);
    sodium_memzero(key, sizeof key);
    return deliver(stored, output, outputSize);
}

int HashingKey_Decrypt(const char *input, char *output, int outputSize)
{
    unsigned char key[crypto_secretbox_KEYBYTES];
    std::string plain;
    if (loadKey(key, false)) {
        plain = decrypt(input ? input : "", key);
        sodium_memzero(key, sizeof key);
    }
    const int length = deliver(plain, output, outputSize);
    sodium_memzero(plain.data(), plain.size());
    return length;
}
