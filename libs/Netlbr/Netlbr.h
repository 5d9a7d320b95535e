#pragma once
// Report mail library: sends one error report by SMTP.
// The server and the addresses come from section "MAIL" of the user's Settings.ini
// (keys "Server", "From", "To"; optional "User" and "Password").
// Returns 1 when the server accepted the report, 0 when it was not sent (not configured,
// unreachable or refused), and -2 when a user and password are configured but the server
// offers no encrypted connection to send them over: then nothing is sent.

#if defined(_WIN32)
#define NETLBR_EXPORT extern "C" __declspec(dllexport)
#else
#define NETLBR_EXPORT extern "C" __attribute__((visibility("default")))
#endif

NETLBR_EXPORT int SendMailReportLog(const char16_t *text);
