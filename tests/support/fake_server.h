#pragma once
// A fake site's Python server (tests/fakeportal) for one test: started on a free port of
// 127.0.0.1, its scenario and event files in a folder of its own, an environment
// variable pointed at it, KUVELA_HEADLESS=1 and KUVELA_TIME_SCALE=kTestTimeScale (unless
// the test set a scale of its own) while it lives.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <vector>

namespace kuvela::test {

// The roads' fixed pauses in browser tests: a tenth.
inline constexpr const char* kTestTimeScale = "0.1";

class FakeServer {
public:
    // script: under tests/fakeportal; extraArgs come before --config/--events/--port.
    // Throws when the server does not come up.
    FakeServer(const QString& script, const QStringList& extraArgs, const char* urlVariable);
    ~FakeServer();
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;

    int port() const { return port_; }
    QString baseUrl() const;
    QString filePath(const QString& name) const { return dir_.filePath(name); }
    // The scenario file the server reads; written before the server starts.
    void writeScenario(const QByteArray& json);

private:
    QTemporaryDir dir_;
    QProcess server_;
    int port_ = 0;
    const char* urlVariable_;
    std::optional<QByteArray> savedUrl_, savedHeadless_, savedScale_;
};

// Browser and driver processes below this test process (by their command name).
std::vector<qint64> browserProcessesOfThisTest();
// True once no browser or driver process of this test is left, waiting up to 5 s
// for killed ones to go.
bool browserProcessesGone();

} // namespace kuvela::test
