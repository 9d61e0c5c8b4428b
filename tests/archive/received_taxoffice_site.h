#pragma once
// The fake interactive tax office site (tests/fakeportal/taxoffice.py) for one test,
// with the program pointed at it (KUVELA_TAXOFFICE_URL).
#include "support/fake_server.h"

#include <QString>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace kuvela::test {

class FakeTaxOffice {
public:
    explicit FakeTaxOffice(const nlohmann::json& scenario = nlohmann::json::object());

    QString baseUrl() const { return server_.baseUrl(); }
    // Read by the site at every request.
    void setScenario(const nlohmann::json& scenario);
    // What the site recorded, in order; all, or those of one type.
    std::vector<nlohmann::json> events(const std::string& type = {}) const;
    // The code of the captcha picture shown last, as the user reads it.
    QString currentCode() const;

private:
    FakeServer server_;
};

// One invoice row of the site: eleven texts, the fourth its date.
nlohmann::json siteInvoice(int n, const QString& date);

} // namespace kuvela::test
