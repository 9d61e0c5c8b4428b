// Downloads against a local server: the body reaches the target whole or not at all.
#include "platform/error_numbers.h"
#include "platform/http.h"
#include "platform/paths.h"
#include "platform/download_test_support.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kuvela {
namespace {

namespace fs = std::filesystem;
using test::LocalHttpServer;

QByteArray readAll(const fs::path& p)
{
    QFile f(fromPath(p));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<yok>");
}

void write(const fs::path& p, const QByteArray& bytes)
{
    fs::create_directories(p.parent_path());
    QFile f(fromPath(p));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList filesIn(const fs::path& folder)
{
    return QDir(fromPath(folder)).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

class HttpTest : public ::testing::Test {
protected:
    HttpTest() : served_(toPath(root_.path())), server_(served_)
    {
        static const char body[] = "PK\x03\x04 gövde \x00\xff"; // an embedded NUL: its length is the literal's
        write(served_ / "paket" / "sürücü.zip", QByteArray(body, sizeof body - 1));
    }
    fs::path target(const char* name = "indirilen.zip") const { return toPath(out_.path()) / toPath(QString::fromUtf8(name)); }

    QTemporaryDir root_, out_;
    fs::path served_;
    LocalHttpServer server_;
};

TEST_F(HttpTest, StatusTwoHundredWritesTheBodyAndReplacesTheOldFile)
{
    write(target("Sürücü ğüşiöç.zip"), "eski");
    const HttpResult r = Http::get(server_.url(QStringLiteral("/paket/s%C3%BCr%C3%BCc%C3%BC.zip")), target("Sürücü ğüşiöç.zip"));
    EXPECT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.status, 200);
    EXPECT_EQ(readAll(target("Sürücü ğüşiöç.zip")), readAll(served_ / "paket" / "sürücü.zip"));
    EXPECT_EQ(filesIn(toPath(out_.path())), QStringList{QStringLiteral("Sürücü ğüşiöç.zip")});
}

TEST_F(HttpTest, RedirectsAreFollowed)
{
    const HttpResult r = Http::get(server_.url(QStringLiteral("/__redirect/paket/s%C3%BCr%C3%BCc%C3%BC.zip")), target());
    EXPECT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(readAll(target()), readAll(served_ / "paket" / "sürücü.zip"));
}

// Every failure keeps the old file as it was and leaves no temporary beside it.
TEST_F(HttpTest, FailuresLeaveTheTargetUntouched)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const int deadPort = closed.serverPort();
    closed.close();
    LocalHttpServer noAccept{LocalHttpServer::NoAccept{}};

    struct Case {
        const char* what;
        QString url;
        HttpOptions options;
        int errorNumber;
        long status;
        int maxSeconds;
    };
    const HttpOptions quick{15000, 30000};
    const std::vector<Case> cases = {
        {"404", server_.url(QStringLiteral("/yok.zip")), quick, error_no::HttpStatus, 404, 10},
        {"500", server_.url(QStringLiteral("/__status/500")), quick, error_no::HttpStatus, 500, 10},
        {"cut body", server_.url(QStringLiteral("/__cut")), quick, error_no::NetworkUnreachable, 200, 10},
        {"refused", QStringLiteral("http://127.0.0.1:%1/x").arg(deadPort), quick, error_no::NetworkUnreachable, 0, 10},
        {"never answers", server_.url(QStringLiteral("/__hang")), HttpOptions{15000, 1000}, error_no::NetworkTimeout, 0, 6},
        {"never accepts", noAccept.url(QStringLiteral("/x")), HttpOptions{500, 30000}, error_no::NetworkTimeout, 0, 6},
        {"empty address", QString(), quick, error_no::BadAddress, 0, 1},
        {"other scheme", QStringLiteral("file:///etc/hostname"), quick, error_no::BadAddress, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write(target(), "eski sürücü");
        QElapsedTimer t;
        t.start();
        const HttpResult r = Http::get(c.url, target(), c.options);
        EXPECT_LT(t.elapsed(), c.maxSeconds * 1000);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.errorNumber, c.errorNumber) << r.error.toStdString();
        EXPECT_EQ(r.status, c.status);
        EXPECT_FALSE(r.error.isEmpty());
        EXPECT_EQ(readAll(target()), QByteArray("eski sürücü"));
        EXPECT_EQ(filesIn(toPath(out_.path())), QStringList{QStringLiteral("indirilen.zip")});
    }
}

TEST_F(HttpTest, TheErrorTextNamesTheAddressAndTheCurlCodeIsKept)
{
    const HttpResult r = Http::get(server_.url(QStringLiteral("/__hang")), target(), HttpOptions{15000, 500});
    EXPECT_EQ(r.curlCode, 28);  // CURLE_OPERATION_TIMEDOUT
    EXPECT_TRUE(r.error.contains(server_.url(QStringLiteral("/__hang")))) << r.error.toStdString();
    EXPECT_FALSE(fs::exists(target()));
}

TEST_F(HttpTest, AMissingFolderIsReportedWithoutAnyRequest)
{
    const HttpResult r = Http::get(server_.url(QStringLiteral("/paket/s%C3%BCr%C3%BCc%C3%BC.zip")),
                                   toPath(out_.path()) / "yok" / "a.zip");
    EXPECT_EQ(r.errorNumber, error_no::PathNotFound);
    EXPECT_FALSE(fs::exists(toPath(out_.path()) / "yok"));
}

TEST(HttpOptionsTest, TimeLimitsComeFromSettingsInSeconds)
{
    struct Case {
        const char* connect;
        const char* total;
        int connectMs;
        int totalMs;
    };
    const std::vector<Case> cases = {
        {nullptr, nullptr, 15000, 120000}, {"2", "0,5", 2000, 500}, {"0.25", "90", 250, 90000},
        {"yok", "-3", 15000, 120000},      {"0", "", 15000, 120000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.connect ? c.connect : "-") + "/" + (c.total ? c.total : "-"));
        c.connect ? qputenv("KUVELA_HTTP_CONNECT_TIMEOUT", c.connect) : qunsetenv("KUVELA_HTTP_CONNECT_TIMEOUT");
        c.total ? qputenv("KUVELA_HTTP_TIMEOUT", c.total) : qunsetenv("KUVELA_HTTP_TIMEOUT");
        const HttpOptions o = HttpOptions::fromSettings();
        EXPECT_EQ(o.connectTimeoutMs, c.connectMs);
        EXPECT_EQ(o.totalTimeoutMs, c.totalMs);
    }
    qunsetenv("KUVELA_HTTP_CONNECT_TIMEOUT");
    qunsetenv("KUVELA_HTTP_TIMEOUT");
}

} // namespace
} // namespace kuvela
