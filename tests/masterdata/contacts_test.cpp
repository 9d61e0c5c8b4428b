#include "masterdata/contacts.h"

#include "platform/paths.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kuvela;

TEST(Contacts, ReadsNamesAndFirstAddressesAndSkipsGroups)
{
    const QByteArray vcf =
        "\xEF\xBB\xBF" "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ali Veli\r\nEMAIL;TYPE=INTERNET:a@x.test\r\n"
        "EMAIL:ikinci@x.test\r\nEND:VCARD\r\n"
        // folded line, N only, escaped comma
        "BEGIN:VCARD\nVERSION:4.0\nN:Çelik;Ayşe;;;\nitem1.EMAIL:ayse.ce\n lik@x.test\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:4.0\nKIND:group\nFN:Muhasebe Listesi\nEMAIL:liste@x.test\nEND:VCARD\n"
        "BEGIN:VCARD\nVERSION:3.0\nFN:Kaya\\, Şükrü\nEND:VCARD\n"
        // vCard 2.1 quoted-printable with a soft break
        "BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C4=B0smail =\n=C3=96z\nEND:VCARD\n";
    const std::vector<Contact> c = parseVCards(vcf);
    EXPECT_EQ(contactListEntries(c), (QStringList{"a@x.test\tAli Veli", "ayse.celik@x.test\tAyşe Çelik",
                                                   "\tKaya, Şükrü", "\tİsmail Öz"}));
}

TEST(Contacts, FileOnDiskAndMissingFile)
{
    QTemporaryDir dir;
    const std::filesystem::path file = toPath(dir.path()) / toPath(QStringLiteral("Kişiler.vcf"));
    EXPECT_TRUE(readContacts(file).empty());
    QFile f(fromPath(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("BEGIN:VCARD\nFN:Ğülşen Işık\nEMAIL:g@x.test\nEND:VCARD\n");
    f.close();
    const std::vector<Contact> c = readContacts(file);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].fullName, "Ğülşen Işık");
    // The sample shipped with the demo reads as five contacts.
    const auto demo = readContacts(toPath(QStringLiteral(KUVELA_SOURCE_DIR "/demo/files/Kişiler.vcf")));
    EXPECT_EQ(demo.size(), 5u);
}
