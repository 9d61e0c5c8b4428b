#pragma once
// Serves the fake portal (tests/fakeportal/server.py) on 127.0.0.1 for one test, and
// points the program at it: KUVELA_PORTAL_URL and KUVELA_HEADLESS=1 while it lives, and
// KUVELA_TIME_SCALE=kTestTimeScale unless the test set a scale of its own.
#include "support/fixtures.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace kuvela::test {

// The roads' fixed pauses and presence time-outs in browser tests: a tenth.
inline constexpr const char* kTestTimeScale = "0.1";

class FakePortal {
public:
    // scenario: the keys that differ from the server's defaults. Throws when the server
    // does not come up.
    explicit FakePortal(const nlohmann::json& scenario = nlohmann::json::object());
    ~FakePortal();
    FakePortal(const FakePortal&) = delete;
    FakePortal& operator=(const FakePortal&) = delete;

    int port() const { return port_; }
    QString baseUrl() const;
    QString url(const QString& path) const { return baseUrl() + path; }

    // The pages read the scenario when they load, so a change applies to the next page.
    void setScenario(const nlohmann::json& scenario);
    // The scenario as the pages see it, defaults included.
    nlohmann::json scenario() const;
    nlohmann::json events() const;
    std::vector<nlohmann::json> events(const std::string& type) const;
    // The events of the type once there are at least count of them, or when time is up:
    // for events a page posts after the driver's call has returned (past an alert).
    std::vector<nlohmann::json> awaitEvents(const std::string& type, size_t count, int timeoutMs = 3000) const;
    void resetEvents();

private:
    std::string get(const std::string& path) const;
    void post(const std::string& path) const;

    QTemporaryDir dir_;
    QProcess server_;
    int port_ = 0;
    std::optional<QByteArray> savedUrl_;
    std::optional<QByteArray> savedHeadless_;
    std::optional<QByteArray> savedScale_;
};

// Browser and driver processes below this test process (by their command name).
std::vector<qint64> browserProcessesOfThisTest();
// True once no browser or driver process of this test is left, waiting up to 5 s
// for killed ones to go.
bool browserProcessesGone();

} // namespace kuvela::test
