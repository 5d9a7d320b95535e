#include "HashingKey.h"

#include <sodium.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const char kPrefix[] = "HK1:";
const int kVariant = sodium_base64_VARIANT_URLSAFE_NO_PADDING;

#if defined(_WIN32)
// On Windows the key lives with the user's other settings, in the registry.
const wchar_t kKeyPath[] = L"Software\\Oxtarne\\HashingKey";
const wchar_t kKeyValue[] = L"Key";

bool readKey(unsigned char *key)
{
    DWORD size = crypto_secretbox_KEYBYTES + 1, type = 0;
    unsigned char buffer[crypto_secretbox_KEYBYTES + 1];
    if (RegGetValueW(HKEY_CURRENT_USER, kKeyPath, kKeyValue, RRF_RT_REG_BINARY, &type, buffer, &size) != ERROR_SUCCESS ||
        size != crypto_secretbox_KEYBYTES)
        return false;
    std::memcpy(key, buffer, crypto_secretbox_KEYBYTES);
    return true;
}

bool keyExists()
{
    return RegGetValueW(HKEY_CURRENT_USER, kKeyPath, kKeyValue, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool writeKey(const unsigned char *key, bool replace)
{
    if (!replace && keyExists())
        return false;
    HKEY handle = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const bool ok = RegSetValueExW(handle, kKeyValue, 0, REG_BINARY, key, crypto_secretbox_KEYBYTES) == ERROR_SUCCESS;
    RegCloseKey(handle);
    return ok;
}
#else
std::string keyFolder()
{
    const char *xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg)
        return std::string(xdg) + "/Oxtarne";
    const char *home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config/Oxtarne";
}

std::string keyPath() { return keyFolder() + "/HashingKey.key"; }

bool readKey(unsigned char *key)
{
    FILE *f = std::fopen(keyPath().c_str(), "rb");
    if (!f)
        return false;
    size_t got = std::fread(key, 1, crypto_secretbox_KEYBYTES, f);
    int extra = std::fgetc(f);
    std::fclose(f);
    return got == crypto_secretbox_KEYBYTES && extra == EOF;
}

bool keyExists() { return ::access(keyPath().c_str(), F_OK) == 0; }

void makeFolder(const std::string &path)
{
    // Create every missing level; the last one is private to its owner.
    for (size_t pos = 1; pos != std::string::npos;) {
        pos = path.find('/', pos + 1);
        ::mkdir(path.substr(0, pos).c_str(), pos == std::string::npos ? 0700 : 0755);
    }
}

// A new key file readable by its owner alone. A fresh one is created only where none exists;
// a replacement is written beside the damaged one and renamed over it in one step.
bool writeKey(const unsigned char *key, bool replace)
{
    makeFolder(keyFolder());
    const std::string path = keyPath();
    const std::string target = replace ? path + ".new" : path;
    if (replace)
        ::unlink(target.c_str());
    int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return false;
    bool ok = ::write(fd, key, crypto_secretbox_KEYBYTES) == ssize_t(crypto_secretbox_KEYBYTES);
    ok = (::fsync(fd) == 0) && ok;
    ok = (::close(fd) == 0) && ok;
    if (ok && replace)
        ok = ::rename(target.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(target.c_str());
    return ok;
}
#endif

bool loadKey(unsigned char *key, bool mayCreate)
{
    if (sodium_init() < 0)
        return false;
    if (readKey(key))
        return true;
    if (!mayCreate)
        return false;
    // A key that cannot be read as one (empty, short, damaged) is replaced; the passwords it
    // protected are lost with it, which the configuration window tells the user.
    randombytes_buf(key, crypto_secretbox_KEYBYTES);
    const bool replace = keyExists();
    // Another process may have created the key between the read and the creation.
    return writeKey(key, replace) || readKey(key);
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

// Any damage to the stored form gives the empty text; `ok` says whether it opened.
std::string decrypt(const std::string &stored, const unsigned char *key, bool *ok = nullptr)
{
    if (ok)
        *ok = false;
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
    if (ok)
        *ok = true;
    return plain;
}

bool opens(const std::string &stored, const unsigned char *key)
{
    bool ok = false;
    std::string plain = decrypt(stored, key, &ok);
    sodium_memzero(plain.data(), plain.size());
    return ok;
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

int HashingKey_IsReadable(const char *input)
{
    if (!input || !*input)
        return 1;
    unsigned char key[crypto_secretbox_KEYBYTES];
    if (!loadKey(key, false))
        return 0;
    const bool readable = opens(input, key);
    sodium_memzero(key, sizeof key);
    return readable ? 1 : 0;
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
