#pragma once
// Serves the fake portal (tests/fakeportal/server.py) on 127.0.0.1 for one test, and
// points the program at it: KUVELA_PORTAL_URL, KUVELA_HEADLESS=1 and the tests' time
// scale while it lives.
#include "support/fake_server.h"
#include "support/fixtures.h"

#include <QString>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace kuvela::test {

// GET, or POST of postBody (sent as JSON when not empty), to a server on this machine;
// the answer's body, or nothing when it could not be reached.
std::optional<std::string> localHttp(const std::string& url, const std::string* postBody = nullptr);

class FakePortal {
public:
    // scenario: the keys that differ from the server's defaults. Throws when the server
    // does not come up.
    explicit FakePortal(const nlohmann::json& scenario = nlohmann::json::object());
    ~FakePortal();
    FakePortal(const FakePortal&) = delete;
    FakePortal& operator=(const FakePortal&) = delete;

    int port() const { return server_.port(); }
    QString baseUrl() const { return server_.baseUrl(); }
    QString url(const QString& path) const { return baseUrl() + path; }

    // The pages read the scenario when they load, so a change applies to the next page.
    // The portal's "today" is the test's clock unless the scenario sets one.
    void setScenario(const nlohmann::json& scenario);
    // The scenario as the pages see it, defaults included.
    nlohmann::json scenario() const;
    nlohmann::json events() const;
    std::vector<nlohmann::json> events(const std::string& type) const;
    // The events of the type once there are at least count of them, or when time is up:
    // for events a page posts after the driver's call has returned (past an alert).
    std::vector<nlohmann::json> awaitEvents(const std::string& type, size_t count, int timeoutMs = 3000) const;
    void resetEvents();

    // The fake's verdict on an invoice form of a snapshot (a "logout", "created" or
    // "createRefused" event's "form"): whether "Oluştur" would create it, and else the
    // portal's words. A form without a verdict is never accepted.
    static bool accepts(const nlohmann::json& form);
    static std::string refusalOf(const nlohmann::json& form);

private:
    std::string get(const std::string& path) const;
    void post(const std::string& path) const;

    FakeServer server_;
};

} // namespace kuvela::test
