#include "received_taxoffice_site.h"

#include <QFile>

namespace kuvela::test {

FakeTaxOffice::FakeTaxOffice(const nlohmann::json& scenario)
    : server_(QStringLiteral("taxoffice.py"), {}, "KUVELA_TAXOFFICE_URL")
{
    setScenario(scenario);
}

void FakeTaxOffice::setScenario(const nlohmann::json& scenario)
{
    server_.writeScenario(QByteArray::fromStdString(scenario.dump()));
}

std::vector<nlohmann::json> FakeTaxOffice::events(const std::string& type) const
{
    std::vector<nlohmann::json> found;
    QFile file(server_.filePath(QStringLiteral("events.jsonl")));
    if (!file.open(QIODevice::ReadOnly))
        return found;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        const auto e = nlohmann::json::parse(line.toStdString(), nullptr, false);
        if (e.is_object() && (type.empty() || e.value("type", std::string()) == type))
            found.push_back(e);
    }
    return found;
}

QString FakeTaxOffice::currentCode() const
{
    const auto served = events("captcha_served");
    return served.empty() ? QString() : QString::fromStdString(served.back().value("code", std::string()));
}

nlohmann::json siteInvoice(int n, const QString& date)
{
    const std::string d = date.toStdString();
    return {"SATICI " + std::to_string(n) + " A.Ş.", "00" + std::to_string(12345600 + n),
            "GIB2024" + std::to_string(100000000 + n), d, "10:" + std::to_string(10 + n % 50),
            std::to_string(1 + n) + ".234,56", std::to_string(1 + n) + ".234,56", "188,32", "TRY", "", "ELEKTRONİK"};
}

} // namespace kuvela::test
