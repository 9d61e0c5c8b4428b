#pragma once
// Serves the fake sample pages (tests/fakeportal/samples_server.py) on 127.0.0.1 for one
// test: over HTTPS with a certificate this test makes, or over plain HTTP. The events the
// pages record are read straight from the server's event file.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace kuvela::test {

class SamplePages {
public:
    SamplePages(bool https, const nlohmann::json& scenario = nlohmann::json::object());
    ~SamplePages();
    SamplePages(const SamplePages&) = delete;
    SamplePages& operator=(const SamplePages&) = delete;

    QString baseUrl() const;
    std::vector<nlohmann::json> events(const std::string& type = {}) const;

private:
    QTemporaryDir dir_;
    QProcess server_;
    bool https_;
    int port_ = 0;
};

} // namespace kuvela::test
