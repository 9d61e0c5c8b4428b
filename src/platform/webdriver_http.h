#pragma once
// JSON over HTTP to the local driver, with time limits on every call.
#include "platform/webdriver_error.h"

#include <nlohmann/json.hpp>
#include <string>

namespace kuvela {

class WebDriverHttp {
public:
    static constexpr long ConnectTimeoutMs = 3000;
    static constexpr long DefaultTimeoutMs = 45000;

    explicit WebDriverHttp(std::string baseUrl);
    ~WebDriverHttp();
    WebDriverHttp(const WebDriverHttp&) = delete;
    WebDriverHttp& operator=(const WebDriverHttp&) = delete;

    // Sends one command and gives its "value"; a refusal becomes a WebDriverError.
    // body null: no body (GET/DELETE).
    nlohmann::json call(const char* method, const std::string& path, const nlohmann::json& body = nullptr,
                        long timeoutMs = DefaultTimeoutMs);
    // The same with the body already written as JSON text.
    nlohmann::json callText(const char* method, const std::string& path, const std::string& jsonBody,
                            long timeoutMs = DefaultTimeoutMs);
    // True when the driver answers /status with ready; never throws.
    bool ready(long timeoutMs) noexcept;

    const std::string& baseUrl() const { return base_; }

private:
    struct Reply {
        long status = 0;
        std::string body;
    };
    Reply send(const char* method, const std::string& path, const std::string* body, long timeoutMs);
    nlohmann::json valueOf(const Reply& reply);
    // The request carried out while the windows paint (PaintingWait).
    int performPainting();

    std::string base_;
    void* curl_ = nullptr;
    void* multi_ = nullptr;
    bool busy_ = false;
};

// The Turkish failure for a W3C error code ("no such element" and the like).
WebDriverError errorFromW3C(const std::string& w3cError, const std::string& driverMessage);

} // namespace kuvela
