// The mail layer: messages read back by Python's email package, sends to a real local
// SMTP server with implicit TLS and login, and the three readings of a failure.
#include "platform/mailer.h"

#include "fixtures/smtp_fixture.h"
#include "support/fixtures.h"

#include <QJsonArray>
#include <QTcpServer>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace kuvela {
namespace {

using test::LocalSmtpServer;

const QDateTime kDate(QDate(2024, 3, 3), QTime(9, 5, 7), Qt::OffsetFromUTC, 3 * 3600);

QByteArray fileBytes()
{
    QByteArray all;
    for (int i = 0; i < 1000; ++i)
        all += char(i % 256);
    return all;
}

std::filesystem::path writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& data)
{
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    return std::filesystem::path(dir.filePath(name).toStdU16String());
}

// A built message as the receiving side's reader sees it.
QJsonObject readBack(const QByteArray& bytes)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("m.eml")));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"), {test::smtpScript(), QStringLiteral("read"), f.fileName()});
    reader.waitForFinished(30000);
    return QJsonDocument::fromJson(reader.readAllStandardOutput()).object();
}

QStringList names(const QJsonObject& read)
{
    QStringList out;
    for (const QJsonValue& v : read.value(QStringLiteral("header_names")).toArray())
        out << v.toString();
    return out;
}

MailMessage simpleMessage()
{
    MailMessage m;
    m.from = QStringLiteral("destek@kuvela.test");
    m.to = QStringLiteral("alici@ornek.test");
    m.subject = QStringLiteral("Öneri");
    m.body = QStringLiteral("Merhaba");
    return m;
}

TEST(MailMessage, RefusesWhatCannotBeAddressed)
{
    struct Case {
        QString from, to, cc, bcc, error;
    };
    const Case cases[] = {
        {"", "a@b.c", "", "", "Gönderen e-posta adresi girilmemiş."},
        {"x@y.z; w@y.z", "a@b.c", "", "", "Gönderen tek bir e-posta adresi olmalı: x@y.z; w@y.z"},
        {"x@y.z", "", " ; ", "", "Alıcı e-posta adresi girilmemiş."},
        {"x@y.z", "ab.c", "", "", "Geçersiz e-posta adresi: ab.c"},
        {"x@y.z", "a b@c.d", "", "", "Geçersiz e-posta adresi: a b@c.d"},
        {"x@y.z", "a@b.c", "Ad <d@e.f", "", "Geçersiz e-posta adresi: Ad <d@e.f"},
        {"x@y.z", "a@b.c", "", "ğ@e.f", "Geçersiz e-posta adresi: ğ@e.f"},
        {"x@y.z", "a@b.c\r\nBcc: k@l.m", "", "", "Geçersiz e-posta adresi: a@b.c\r\nBcc: k@l.m"},
    };
    for (const Case& c : cases) {
        MailMessage m = simpleMessage();
        m.from = c.from, m.to = c.to, m.cc = c.cc, m.bcc = c.bcc;
        const BuiltMail built = buildMail(m, kDate);
        EXPECT_EQ(built.error, c.error) << c.to.toStdString();
        EXPECT_TRUE(built.bytes.isEmpty());
    }
}

TEST(MailMessage, EnvelopeTakesEveryRecipientOnceAndHeadersNoBcc)
{
    MailMessage m = simpleMessage();
    m.from = QStringLiteral("Kuvela Destek <destek@kuvela.test>");
    m.to = QStringLiteral("\"Soyad, Ad\" <a@b.c>, d@e.f");
    m.cc = QStringLiteral("Muhasebe Şubesi <g@h.i>; A@B.C");
    m.bcc = QStringLiteral("gizli@k.l");
    const BuiltMail built = buildMail(m, kDate);
    ASSERT_TRUE(built.error.isEmpty()) << built.error.toStdString();
    EXPECT_EQ(built.envelopeFrom, "destek@kuvela.test");
    EXPECT_EQ(built.recipients, (QStringList{"a@b.c", "d@e.f", "g@h.i", "gizli@k.l"}));

    const QJsonObject read = readBack(built.bytes);
    EXPECT_EQ(read["from"].toString(), "Kuvela Destek <destek@kuvela.test>");
    EXPECT_EQ(read["to"].toString(), "\"Soyad, Ad\" <a@b.c>, d@e.f");
    EXPECT_EQ(read["cc"].toString(), "Muhasebe Şubesi <g@h.i>, A@B.C");
    EXPECT_FALSE(names(read).contains("Bcc", Qt::CaseInsensitive));
    EXPECT_EQ(read["date"].toString(), "Sun, 03 Mar 2024 09:05:07 +0300");
    EXPECT_TRUE(read["message_id"].toString().endsWith("@kuvela.test>"));
    EXPECT_EQ(read["defects"].toArray().size(), 0);
}

// A line break typed into a subject or a name never starts a header of its own.
TEST(MailMessage, LineBreaksInHeaderTextsBecomeBlanks)
{
    struct Case {
        QString subject, decoded;
    };
    const Case cases[] = {
        {"Soru\r\nX-Injected: 1", "Soru X-Injected: 1"},
        {"Öneri\nBcc: gizli@x.y", "Öneri Bcc: gizli@x.y"},
        {"Hata\rBildirimi\x0bson", "Hata Bildirimi son"},
        {"\r\n\r\nFrom: sahte@x.y", "From: sahte@x.y"},
    };
    for (const Case& c : cases) {
        MailMessage m = simpleMessage();
        m.subject = c.subject;
        m.to = QStringLiteral("\"Ad\r\nBcc: k@l.m\" <a@b.c>");
        const QJsonObject read = readBack(buildMail(m, kDate).bytes);
        EXPECT_EQ(read["subject"].toString().trimmed(), c.decoded);
        EXPECT_EQ(names(read), (QStringList{"Date", "From", "To", "Subject", "Message-ID", "MIME-Version",
                                            "Content-Type", "Content-Transfer-Encoding"}));
        EXPECT_EQ(read["to"].toString(), "\"Ad Bcc: k@l.m\" <a@b.c>");
    }
}

TEST(MailMessage, EncodedWordsHoldWholeCharactersAndFold)
{
    const QString texts[] = {
        QString(100, QChar(u'ş')),  // two bytes each
        QStringLiteral("İİİ😀😀😀ığüşöç") + QString(40, QChar(u'x')),  // with four-byte characters
        QString(80, QChar(u'a')),  // long plain text is folded too
    };
    for (const QString& text : texts) {
        const QByteArray encoded = encodeHeaderText(text);
        QString joined;
        for (const QByteArray& word : encoded.split('\n')) {
            const QByteArray w = word.trimmed();
            ASSERT_TRUE(w.startsWith("=?UTF-8?B?") && w.endsWith("?=")) << w.constData();
            EXPECT_LE(w.size(), 75);
            const QByteArray raw = QByteArray::fromBase64(w.mid(10, w.size() - 12));
            const QString part = QString::fromUtf8(raw);
            EXPECT_EQ(part.toUtf8(), raw) << "a character was split";
            joined += part;
        }
        EXPECT_EQ(joined, text);
    }
    EXPECT_EQ(encodeHeaderText(QStringLiteral("Yardım Talebi")), "=?UTF-8?B?WWFyZMSxbSBUYWxlYmk=?=");
    EXPECT_EQ(encodeHeaderText(QStringLiteral("Plain subject")), "Plain subject");
}

TEST(MailMessage, UnreadableAttachmentStopsTheMessage)
{
    MailMessage m = simpleMessage();
    m.attachments.push_back({std::filesystem::path(u8"/yok/Fatura ş.pdf"), {}});
    EXPECT_EQ(buildMail(m, kDate).error, QStringLiteral("Ek dosyası okunamadı: /yok/Fatura ş.pdf"));
}

TEST(MailFailures, ThreeReadings)
{
    struct Case {
        int curlCode;
        MailFailure failure;
        QString reading;
    };
    const QString login = QStringLiteral("Sunucu yetki hatası ! ");
    const QString connection = QStringLiteral(" İnternet bağlantı hatası ! ");
    const QString other = QStringLiteral("Mesaj iletimi sırasında bir hata oluştu !");
    const Case cases[] = {
        {67, MailFailure::Login, login},       {6, MailFailure::Connection, connection},
        {7, MailFailure::Connection, connection}, {28, MailFailure::Connection, connection},
        {5, MailFailure::Connection, connection}, {60, MailFailure::Other, other},
        {35, MailFailure::Other, other},       {56, MailFailure::Other, other},
        {55, MailFailure::Other, other},       {77, MailFailure::Other, other},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mailFailureOf(c.curlCode), c.failure) << c.curlCode;
        MailResult r;
        r.failure = mailFailureOf(c.curlCode);
        EXPECT_EQ(r.reading(), c.reading) << c.curlCode;
    }
    EXPECT_EQ(mailFailureOf(0), MailFailure::None);
}

TEST(MailAccountSettings, FromEnvironment)
{
    const std::pair<const char*, const char*> vars[] = {
        {"KUVELA_MAIL_HOST", " smtp.ornek.test "}, {"KUVELA_MAIL_PORT", "2465"},
        {"KUVELA_MAIL_USER", "destek@ornek.test"}, {"KUVELA_MAIL_PASSWORD", " gizli "},
        {"KUVELA_MAIL_CAFILE", "/tmp/ca.pem"},     {"KUVELA_MAIL_CONNECT_TIMEOUT", "2,5"},
        {"KUVELA_MAIL_TIMEOUT", "abc"},
    };
    for (auto [name, value] : vars)
        qputenv(name, value);
    const MailAccount a = MailAccount::fromSettings();
    for (auto [name, value] : vars)
        qunsetenv(name);
    EXPECT_EQ(a.host, "smtp.ornek.test");
    EXPECT_EQ(a.port, 2465);
    EXPECT_EQ(a.user, "destek@ornek.test");
    EXPECT_EQ(a.password, " gizli ");
    EXPECT_EQ(a.caFile, "/tmp/ca.pem");
    EXPECT_EQ(a.connectTimeoutMs, 2500);
    EXPECT_EQ(a.totalTimeoutMs, 120000);
    EXPECT_TRUE(a.configured());
    EXPECT_FALSE(MailAccount{}.configured());
}

class MailerServerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.ready()) << server_.error().toStdString(); }
    LocalSmtpServer server_{QStringLiteral("destek@kuvela.test"), QStringLiteral("Gizli-Şifre-123")};
};

TEST_F(MailerServerTest, DeliversTurkishTextAttachmentsAndCc)
{
    QTemporaryDir files;
    const QString longName = QStringLiteral("Satış Faturası ĞÜŞİÖÇ ığüşöç 2024 numaralı uzun bir dosya adı.pdf");
    MailMessage m;
    m.from = QStringLiteral("Kuvela Destek <destek@kuvela.test>");
    m.to = QStringLiteral("alici@ornek.test");
    m.cc = QStringLiteral("Muhasebe Şubesi <cc@ornek.test>; ikinci@ornek.test");
    m.bcc = QStringLiteral("gizli@ornek.test");
    m.subject = QStringLiteral("ABC Ltd. Şti. GIB2024000000001 e-Arşiv fatura");
    m.body = QStringLiteral("Sayın;\nAlıcı Ünvanı\n.\nİyi çalışmalar dileriz\r\nığüşöçİĞÜŞÖÇ");
    m.attachments.push_back({writeFile(files, longName, fileBytes()), {}});
    m.attachments.push_back({writeFile(files, QStringLiteral("rapor.txt"), "satir\n"), QStringLiteral("Rapor \"1\".txt")});

    const MailResult r = Mailer::send(server_.account(), m);
    ASSERT_TRUE(r.ok()) << r.description.toStdString();
    ASSERT_EQ(server_.count(), 1);

    const QJsonObject envelope = server_.envelope(1);
    EXPECT_EQ(envelope["mail_from"].toString(), "destek@kuvela.test");
    EXPECT_EQ(envelope["login"].toString(), "destek@kuvela.test");
    EXPECT_EQ(envelope["rcpt_tos"].toArray().toVariantList(),
              (QVariantList{"alici@ornek.test", "cc@ornek.test", "ikinci@ornek.test", "gizli@ornek.test"}));

    const QJsonObject read = server_.read(1);
    EXPECT_EQ(read["content_type"].toString(), "multipart/mixed");
    EXPECT_EQ(read["from"].toString(), "Kuvela Destek <destek@kuvela.test>");
    EXPECT_EQ(read["cc"].toString(), "Muhasebe Şubesi <cc@ornek.test>, ikinci@ornek.test");
    EXPECT_EQ(read["bcc"].toString(), "");
    EXPECT_EQ(read["subject"].toString(), m.subject);
    EXPECT_EQ(read["body"].toString(),
              QStringLiteral("Sayın;\r\nAlıcı Ünvanı\r\n.\r\nİyi çalışmalar dileriz\r\nığüşöçİĞÜŞÖÇ"));
    EXPECT_EQ(read["body_charset"].toString(), "utf-8");
    const QJsonArray attachments = read["attachments"].toArray();
    ASSERT_EQ(attachments.size(), 2);
    EXPECT_EQ(attachments[0]["filename"].toString(), longName);
    EXPECT_EQ(attachments[0]["content_type"].toString(), "application/pdf");
    EXPECT_EQ(QByteArray::fromBase64(attachments[0]["data"].toString().toLatin1()), fileBytes());
    EXPECT_EQ(attachments[1]["filename"].toString(), "Rapor \"1\".txt");
    EXPECT_EQ(QByteArray::fromBase64(attachments[1]["data"].toString().toLatin1()), "satir\n");
    EXPECT_LE(read["longest_line"].toInt(), 78);
    EXPECT_FALSE(read["bare_lf"].toBool());
    EXPECT_EQ(read["defects"].toArray().size(), 0);
}

TEST_F(MailerServerTest, SubjectWithLineBreakStaysOneHeader)
{
    MailMessage m = simpleMessage();
    m.subject = QStringLiteral("Öneri\r\nBcc: gizli@ornek.test");
    ASSERT_TRUE(Mailer::send(server_.account(), m).ok());
    const QJsonObject read = server_.read(1);
    EXPECT_EQ(read["subject"].toString(), "Öneri Bcc: gizli@ornek.test");
    EXPECT_FALSE(names(read).contains("Bcc", Qt::CaseInsensitive));
    EXPECT_EQ(server_.envelope(1)["rcpt_tos"].toArray().size(), 1);
}

// Each failure is told by its reading, and nothing reaches the mailbox.
TEST_F(MailerServerTest, FailuresAreReadNeverSilent)
{
    QTcpServer silent;  // takes the connection and never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));

    struct Case {
        const char* name;
        std::function<void(MailAccount&, MailMessage&)> change;
        MailFailure failure;
        int curlCode;
    };
    const Case cases[] = {
        {"wrong password", [](MailAccount& a, MailMessage&) { a.password = QStringLiteral("Yanlış-Şifre"); },
         MailFailure::Login, 67},
        {"nothing listening", [](MailAccount& a, MailMessage&) { a.port = test::closedPort(); },
         MailFailure::Connection, 7},
        // 6, or 28 where the resolver is slow to say no
        {"unknown host", [](MailAccount& a, MailMessage&) { a.host = QStringLiteral("smtp.kuvela.invalid"); },
         MailFailure::Connection, -1},
        {"no answer",
         [&](MailAccount& a, MailMessage&) {
             a.port = silent.serverPort();
             a.connectTimeoutMs = 300;
             a.totalTimeoutMs = 800;
         },
         MailFailure::Connection, 28},
        {"CA not given", [](MailAccount& a, MailMessage&) { a.caFile.clear(); }, MailFailure::Other, 60},
        {"CA unreadable", [](MailAccount& a, MailMessage&) { a.caFile = QStringLiteral("/yok/ca.pem"); },
         MailFailure::Other, 77},
        {"recipient refused by the layer", [](MailAccount&, MailMessage& m) { m.to = QStringLiteral("yok"); },
         MailFailure::Other, 0},
        {"no account", [](MailAccount& a, MailMessage&) { a.user.clear(); }, MailFailure::Other, 0},
    };
    for (const Case& c : cases) {
        MailAccount account = server_.account();
        MailMessage message = simpleMessage();
        c.change(account, message);
        const MailResult r = Mailer::send(account, message);
        EXPECT_EQ(r.failure, c.failure) << c.name;
        if (c.curlCode >= 0)
            EXPECT_EQ(r.curlCode, c.curlCode) << c.name << ": " << r.description.toStdString();
        EXPECT_FALSE(r.description.isEmpty()) << c.name;
        EXPECT_FALSE(r.description.contains(QStringLiteral("Şifre"))) << c.name;
    }
    EXPECT_EQ(server_.count(), 0);
}

TEST_F(MailerServerTest, LoginRefusalCarriesTheServersAnswer)
{
    MailAccount account = server_.account();
    account.password = QStringLiteral("yanlis");
    const MailResult r = Mailer::send(account, simpleMessage());
    EXPECT_EQ(r.reading(), QStringLiteral("Sunucu yetki hatası ! "));
    EXPECT_TRUE(r.description.contains(QStringLiteral("535"))) << r.description.toStdString();
    EXPECT_FALSE(r.description.contains(QStringLiteral("yanlis")));
}

} // namespace
} // namespace kuvela
