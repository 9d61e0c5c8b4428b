#include "received_taxoffice_site.h"

#include <QFile>
#include <stdexcept>

namespace kuvela::test {

namespace {

const char* const kUrlVar = "KUVELA_TAXOFFICE_URL";
const char* const kHeadlessVar = "KUVELA_HEADLESS";

std::optional<QByteArray> setEnv(const char* name, const QByteArray& value)
{
    std::optional<QByteArray> old;
    if (qEnvironmentVariableIsSet(name))
        old = qgetenv(name);
    qputenv(name, value);
    return old;
}

void restoreEnv(const char* name, const std::optional<QByteArray>& value)
{
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

} // namespace

FakeTaxOffice::FakeTaxOffice(const nlohmann::json& scenario)
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder for the fake tax office");
    setScenario(scenario);
    server_.setProgram(QStringLiteral("/usr/bin/python3"));
    server_.setArguments({QStringLiteral(KUVELA_SOURCE_DIR "/tests/fakeportal/taxoffice.py"), QStringLiteral("--config"),
                          dir_.filePath(QStringLiteral("scenario.json")), QStringLiteral("--events"),
                          dir_.filePath(QStringLiteral("events.jsonl")), QStringLiteral("--port"), QStringLiteral("0")});
    server_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server_.start();
    while (port_ == 0 && server_.waitForReadyRead(10000))
        while (server_.canReadLine()) {
            const QByteArray line = server_.readLine().trimmed();
            if (line.startsWith("PORT "))
                port_ = line.mid(5).toInt();
        }
    if (port_ == 0) {
        server_.kill();
        server_.waitForFinished(2000);
        throw std::runtime_error("fake tax office printed no port");
    }
    savedUrl_ = setEnv(kUrlVar, baseUrl().toUtf8());
    savedHeadless_ = setEnv(kHeadlessVar, "1");
}

FakeTaxOffice::~FakeTaxOffice()
{
    if (port_ != 0) {
        restoreEnv(kUrlVar, savedUrl_);
        restoreEnv(kHeadlessVar, savedHeadless_);
    }
    server_.terminate();
    if (!server_.waitForFinished(3000)) {
        server_.kill();
        server_.waitForFinished(2000);
    }
}

QString FakeTaxOffice::baseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

void FakeTaxOffice::setScenario(const nlohmann::json& scenario)
{
    QFile file(dir_.filePath(QStringLiteral("scenario.json")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write the fake tax office's scenario");
    file.write(QByteArray::fromStdString(scenario.dump()));
}

std::vector<nlohmann::json> FakeTaxOffice::events(const std::string& type) const
{
    std::vector<nlohmann::json> found;
    QFile file(dir_.filePath(QStringLiteral("events.jsonl")));
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
