#pragma once
// Serves the fake interactive tax office site (tests/fakeportal/taxoffice.py) for one
// test and points the program at it (KUVELA_TAXOFFICE_URL, KUVELA_HEADLESS=1).
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace kuvela::test {

class FakeTaxOffice {
public:
    explicit FakeTaxOffice(const nlohmann::json& scenario = nlohmann::json::object());
    ~FakeTaxOffice();
    FakeTaxOffice(const FakeTaxOffice&) = delete;
    FakeTaxOffice& operator=(const FakeTaxOffice&) = delete;

    QString baseUrl() const;
    void setScenario(const nlohmann::json& scenario);
    // What the site recorded, in order; of one type.
    std::vector<nlohmann::json> events(const std::string& type = {}) const;
    // The code of the captcha picture shown last, as the user reads it.
    QString currentCode() const;

private:
    QTemporaryDir dir_;
    QProcess server_;
    int port_ = 0;
    std::optional<QByteArray> savedUrl_, savedHeadless_;
};

// One invoice row of the site: eleven texts, the fourth its date.
nlohmann::json siteInvoice(int n, const QString& date);

} // namespace kuvela::test
