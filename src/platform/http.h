#pragma once
// Plain HTTP downloads to a file. The body reaches the target only whole and only on
// status 200: it is written to a temporary beside the target and renamed over it, so
// a failed or refused download never leaves a half file under the target's name.
#include <QString>
#include <filesystem>

namespace kuvela {

struct HttpOptions {
    int connectTimeoutMs = 15000;
    int totalTimeoutMs = 120000;
    // Settings "http/connect_timeout" and "http/timeout", in seconds ("0.5" allowed).
    static HttpOptions fromSettings();
};

struct HttpResult {
    long status = 0;      // the final answer's status; 0 when none came
    int curlCode = 0;     // CURLcode, 0 when the transfer itself went well
    int errorNumber = 0;  // " Hata No: " number (platform/error_numbers.h), 0 on success
    QString error;        // Turkish, naming the address or the file; empty on success
    bool ok() const { return errorNumber == 0; }
};

class Http {
public:
    // Follows redirects; http and https only.
    static HttpResult get(const QString& url, const std::filesystem::path& targetFile);
    static HttpResult get(const QString& url, const std::filesystem::path& targetFile, const HttpOptions& options);
};

} // namespace kuvela
