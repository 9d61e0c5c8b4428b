#pragma once
// The driver program as our child process: started on a free local port, and ended
// together with every browser process it started, whatever state they are in.
#include <QProcess>
#include <QString>
#include <memory>
#include <vector>

namespace kuvela {

class WebDriverHttp;

class DriverProcess {
public:
    DriverProcess();
    ~DriverProcess();
    DriverProcess(const DriverProcess&) = delete;
    DriverProcess& operator=(const DriverProcess&) = delete;

    // Starts the driver and waits until it answers; throws WebDriverError.
    void start(const QString& program, int readyTimeoutMs = 15000);
    bool isRunning() const;
    // "http://127.0.0.1:<port>"
    const std::string& baseUrl() const { return base_; }
    WebDriverHttp& http() { return *http_; }
    qint64 pid() const;
    // The driver and every process below it (the browser and its helpers).
    std::vector<qint64> processTree() const;
    // Ends the driver and whatever it left running; never throws.
    void stop() noexcept;

private:
    bool launch(const QString& program, int readyTimeoutMs, QString& failure);

    std::unique_ptr<QProcess> process_;
    std::unique_ptr<WebDriverHttp> http_;
    std::string base_;
    qint64 launched_ = 0; // the driver's pid, also its process group, kept past its end
    QByteArray output_; // the driver's last words, for a start failure
};

// The processes below pid, children first found first (Linux; empty elsewhere).
std::vector<qint64> descendantProcesses(qint64 pid);
// True while pid names a live process (a zombie counts as ended).
bool processAlive(qint64 pid);

} // namespace kuvela
