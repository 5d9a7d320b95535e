#pragma once
// Password protection library: turns a password into a printable stored form and back.
// Both exports write a zero-terminated 8-bit text into `output` (at most outputSize bytes,
// terminator included) and return the length of the full result without the terminator.
// When the buffer is too small nothing is written and the caller retries with a larger one.
// A negative result means the text could not be produced at all (no key could be made).

#if defined(_WIN32)
#define HASHINGKEY_EXPORT extern "C" __declspec(dllexport)
#else
#define HASHINGKEY_EXPORT extern "C" __attribute__((visibility("default")))
#endif

HASHINGKEY_EXPORT int HashingKey_Encrypt(const char *input, char *output, int outputSize);
HASHINGKEY_EXPORT int HashingKey_Decrypt(const char *input, char *output, int outputSize);
// 1 when a stored form opens with the user's key (or is empty), 0 when it does not: the key was
// replaced or the stored form is damaged, and the password it held cannot be read any more.
HASHINGKEY_EXPORT int HashingKey_IsReadable(const char *input);
