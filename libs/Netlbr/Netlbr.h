#pragma once
// Report mail library: sends one error report by SMTP.
// The server and the addresses come from section "MAIL" of the user's Settings.ini
// (keys "Server", "From", "To"; optional "User" and "Password").
// Returns non-zero when the server accepted the report, zero otherwise
// (not configured, unreachable or refused).

#if defined(_WIN32)
#define NETLBR_EXPORT extern "C" __declspec(dllexport)
#else
#define NETLBR_EXPORT extern "C" __attribute__((visibility("default")))
#endif

NETLBR_EXPORT int SendMailReportLog(const char16_t *text);
