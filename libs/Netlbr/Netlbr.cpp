#include "Netlbr.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const int kNoEncryption = -2;

std::string toUtf8(const char16_t *text)
{
    std::string out;
    if (!text)
        return out;
    for (const char16_t *p = text; *p; ++p) {
        char32_t c = *p;
        if (c >= 0xD800 && c <= 0xDBFF && p[1] >= 0xDC00 && p[1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (p[1] - 0xDC00);
            ++p;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string trim(const std::string &s)
{
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

using MailSettings = std::map<std::string, std::string>;

// Reads section "MAIL" of one settings file; the first entry of a key wins.
bool readMailSection(const std::string &path, MailSettings &settings)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    bool inMail = false;
    bool first = true;
    while (std::getline(in, line)) {
        if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        first = false;
        line = trim(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            inMail = lower(trim(line.substr(1, line.size() - 2))) == "mail";
            continue;
        }
        const size_t eq = line.find('=');
        if (inMail && eq != std::string::npos)
            settings.emplace(lower(trim(line.substr(0, eq))), trim(line.substr(eq + 1)));
    }
    return true;
}

std::string dataFolder()
{
#if defined(_WIN32)
    const char *appData = std::getenv("APPDATA");
    return appData ? std::string(appData) + "\\KALV\\Hotel\\" : std::string();
#else
    const char *xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg)
        return std::string(xdg) + "/KALV/Hotel/";
    const char *home = std::getenv("HOME");
    return home ? std::string(home) + "/.local/share/KALV/Hotel/" : std::string();
#endif
}

// The user's own settings only: a Settings.ini in whatever folder the program was started from
// could send the report (and the user's mail password) anywhere.
MailSettings loadSettings()
{
    MailSettings settings;
    readMailSection(dataFolder() + "Settings.ini", settings);
    return settings;
}

std::vector<std::string> splitAddresses(const std::string &list)
{
    std::vector<std::string> out;
    std::string item;
    std::istringstream in(list);
    while (std::getline(in, item, ',')) {
        std::istringstream parts(item);
        std::string part;
        while (std::getline(parts, part, ';'))
            if (!trim(part).empty())
                out.push_back(trim(part));
    }
    return out;
}

std::string angle(const std::string &address)
{
    return address.front() == '<' ? address : "<" + address + ">";
}

std::string buildMessage(const std::string &from, const std::string &to, const std::string &body)
{
    char date[64] = {};
    std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%a, %d %b %Y %H:%M:%S +0000", std::gmtime(&now));
    std::string message;
    message += "Date: " + std::string(date) + "\r\n";
    message += "To: " + to + "\r\n";
    message += "From: " + from + "\r\n";
    message += "Subject: KALV HOTEL error report\r\n";
    message += "MIME-Version: 1.0\r\n";
    message += "Content-Type: text/plain; charset=UTF-8\r\n";
    message += "Content-Transfer-Encoding: 8bit\r\n\r\n";
    // SMTP wants CRLF line ends; lone line feeds of the report are widened.
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] == '\n' && (i == 0 || body[i - 1] != '\r'))
            message += '\r';
        message += body[i];
    }
    message += "\r\n";
    return message;
}

struct Upload {
    const std::string *data;
    size_t offset = 0;
};

size_t readPayload(char *buffer, size_t size, size_t count, void *userData)
{
    auto *upload = static_cast<Upload *>(userData);
    const size_t left = upload->data->size() - upload->offset;
    const size_t chunk = std::min(left, size * count);
    std::memcpy(buffer, upload->data->data() + upload->offset, chunk);
    upload->offset += chunk;
    return chunk;
}

int send(const MailSettings &settings, const std::string &body)
{
    auto value = [&](const char *key) {
        auto it = settings.find(key);
        return it == settings.end() ? std::string() : it->second;
    };
    std::string server = value("server");
    const std::string from = value("from");
    const std::vector<std::string> to = splitAddresses(value("to"));
    if (server.empty() || from.empty() || to.empty())
        return 0;
    if (server.find("://") == std::string::npos)
        server = "smtp://" + server;

    CURL *curl = curl_easy_init();
    if (!curl)
        return 0;
    curl_slist *recipients = nullptr;
    for (const std::string &address : to)
        recipients = curl_slist_append(recipients, angle(address).c_str());
    const std::string message = buildMessage(from, value("to"), body);
    Upload upload{&message};
    const std::string sender = angle(from);
    const std::string user = value("user");
    const std::string password = value("password");

    curl_easy_setopt(curl, CURLOPT_URL, server.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, sender.c_str());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readPayload);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 10L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 30L);
    if (!user.empty()) {
        // A user name and password travel over an encrypted connection only, or not at all.
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    } else {
        // Without a user name the report still goes encrypted wherever the server offers it.
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_TRY));
    }
    const CURLcode result = curl_easy_perform(curl);
    curl_slist_free_all(recipients);
    curl_easy_cleanup(curl);
    if (result == CURLE_USE_SSL_FAILED)
        return kNoEncryption;
    return result == CURLE_OK ? 1 : 0;
}

} // namespace

int SendMailReportLog(const char16_t *text)
{
    const MailSettings settings = loadSettings();
    return send(settings, toUtf8(text));
}
