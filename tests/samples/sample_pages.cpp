#include "samples/sample_pages.h"

#include "support/server_process.h"

#include <QFile>
#include <stdexcept>

namespace kuvela::test {

SamplePages::SamplePages(bool https, const nlohmann::json& scenario) : https_(https)
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder for the sample pages");
    QFile config(dir_.filePath(QStringLiteral("scenario.json")));
    if (!config.open(QIODevice::WriteOnly) || config.write(QByteArray::fromStdString(scenario.dump())) < 0)
        throw std::runtime_error("cannot write the scenario");
    config.close();

    const QString root = QStringLiteral(KUVELA_SOURCE_DIR "/tests/fakeportal");
    QStringList args{root + QStringLiteral("/samples_server.py"), QStringLiteral("--root"), root,
                     QStringLiteral("--config"), config.fileName(), QStringLiteral("--events"),
                     dir_.filePath(QStringLiteral("events.jsonl")), QStringLiteral("--port"), QStringLiteral("0")};
    if (https) {
        const QString cert = dir_.filePath(QStringLiteral("cert.pem"));
        const QString key = dir_.filePath(QStringLiteral("key.pem"));
        QProcess openssl;
        openssl.setProcessChannelMode(QProcess::MergedChannels);
        openssl.start(QStringLiteral("openssl"),
                      {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
                       QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                       QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                       QStringLiteral("-keyout"), key, QStringLiteral("-out"), cert});
        if (!openssl.waitForFinished(30000) || openssl.exitCode() != 0)
            throw std::runtime_error("openssl could not make the test certificate");
        args << QStringLiteral("--cert") << cert << QStringLiteral("--key") << key;
    }
    port_ = startPortServer(server_, args, "sample page server");
}

SamplePages::~SamplePages()
{
    stopServer(server_);
}

QString SamplePages::baseUrl() const
{
    return QStringLiteral("%1://127.0.0.1:%2").arg(https_ ? QStringLiteral("https") : QStringLiteral("http")).arg(port_);
}

std::vector<nlohmann::json> SamplePages::events(const std::string& type) const
{
    std::vector<nlohmann::json> found;
    QFile file(dir_.filePath(QStringLiteral("events.jsonl")));
    if (!file.open(QIODevice::ReadOnly))
        return found;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty())
            continue;
        nlohmann::json e = nlohmann::json::parse(line.toStdString(), nullptr, false);
        if (!e.is_discarded() && (type.empty() || e.value("type", std::string()) == type))
            found.push_back(std::move(e));
    }
    return found;
}

} // namespace kuvela::test
