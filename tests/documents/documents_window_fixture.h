#pragma once
// The main window on "Çağdaş Gıda" with the invoice fixtures filed in its Html folder
// and the "SATIŞ Faturaları" view shown; browsers run headless at a small time scale.
#include "masterdata/form1_window_fixture.h"
#include "common/regional.h"
#include "support/fake_server.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QJsonArray>
#include <QJsonDocument>

namespace kuvela::test {

inline const QString kNameA =
    QStringLiteral("GIB2023000000001 19-04-2023  1234567890 ÖRNEK İNŞAAT LTD ŞTİ-SATIŞ-ABCDEFGHIJKLMN.html");
inline const QString kNameB =
    QStringLiteral("ABC2023000000007 02-06-2023  5555555555 BETA YAPI A.Ş.      -TEVKİFAT-ABCDEFGHIJKLMN.html");
inline const QString kNameCancelled =
    QStringLiteral("GIB2023000000000 05-05-2023  1234567890 ÖRNEK İNŞAAT LTD ŞTİ-İptal-ABCDEFGHIJKLMN.html");
inline const QString kNameFaults = QStringLiteral("GIB2023000000099 07-07-2023 hatalı #1 'x' %41.html");
inline const QString kNameText = QStringLiteral("GIB2023000000009 09-09-2023-İPTAL.txt");

// A sheet of a workbook, the first unless named, as openpyxl reads it (null when empty).
inline QJsonArray sheetRows(const std::filesystem::path& file, const QString& sheet = QString())
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import json,sys,openpyxl\n"
                            "wb=openpyxl.load_workbook(sys.argv[1])\n"
                            "ws=wb[sys.argv[2]] if sys.argv[2] else wb.worksheets[0]\n"
                            "print(json.dumps([[c.value for c in r] for r in ws.iter_rows(min_row=1,max_row=ws.max_row)]))"),
             fromPath(file), sheet});
    p.waitForFinished(60000);
    return QJsonDocument::fromJson(p.readAllStandardOutput()).array();
}

// The descriptions of the voucher's invoices whose debits (lines at the margin) and
// credits (indented lines) differ, and the marks, one a line; an amount that is no number throws.
inline QString unbalancedVoucherBlocks(const QString& text)
{
    static const QRegularExpression booked(QStringLiteral(R"(^( |    \t)\d{3}\.\d{2} +(\S+)( TL)?$)"));
    QString unbalanced;
    Decimal sums[2];  // debits, credits
    for (const QString& line : text.split(QStringLiteral("\r\n")))
        if (const QRegularExpressionMatch m = booked.match(line); m.hasMatch())
            sums[m.capturedLength(1) > 1] += regionalConvert(m.captured(2)).value();
        else if ((line.contains(QStringLiteral(" nolu ")) && std::exchange(sums[0], {}) != std::exchange(sums[1], {})) ||
                 line.startsWith(QStringLiteral(" Borç ve alacak tutmuyor")))
            unbalanced += line + u'\n';
    return unbalanced;
}

// The whole window as it stands, under build/screenshots.
inline void screenshot(QWidget& w, const char* name)
{
    QDir().mkpath(QStringLiteral(KUVELA_BINARY_DIR "/screenshots"));
    w.grab().save(QStringLiteral(KUVELA_BINARY_DIR "/screenshots/") + QString::fromLatin1(name) +
                  QStringLiteral(".png"));
}

class DocumentsWindowTest : public WindowTest {
protected:
    DocumentsWindowTest() { qputenv("KUVELA_TIME_SCALE", "0.05"); }
    ~DocumentsWindowTest() override { qunsetenv("KUVELA_TIME_SCALE"); }

    std::filesystem::path htmlFolder() const
    {
        return home_ / QStringLiteral("Firmalarım/Çağdaş Gıda/Satış Faturaları/Html");
    }

    static QString fixture(const char* name)
    {
        return QStringLiteral(KUVELA_SOURCE_DIR "/tests/documents/fixtures/") + QString::fromLatin1(name);
    }

    // Files invoice A under the name with one text of it replaced, and lists the folder again.
    void fileVariantOfA(const QString& name, const QString& text, const QString& replacement)
    {
        QFile source(fixture("invoice_a.html"));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(source.readAll());
        ASSERT_TRUE(page.contains(text));
        QFile copy(fromPath(htmlFolder() / toPath(name)));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(QString(page).replace(text, replacement).toUtf8());
        copy.close();
        window_->setDir1Path(fromPath(htmlFolder()));
    }

    Form1& startOnInvoices()
    {
        home_.writeData(standardData());
        Form1& w = start();
        chooseCompany(QStringLiteral("Çağdaş Gıda"));
        w.firmaVKN = QStringLiteral("9876543210");
        const std::pair<QString, const char*> files[] = {{kNameA, "invoice_a.html"},
                                                         {kNameB, "invoice_b.html"},
                                                         {kNameCancelled, "invoice_a.html"},
                                                         {kNameFaults, "invoice_faults.html"}};
        for (const auto& [name, source] : files)
            EXPECT_TRUE(QFile::copy(fixture(source), fromPath(htmlFolder() / toPath(name))));
        QFile text(fromPath(htmlFolder() / toPath(kNameText)));
        EXPECT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("İptal raporu\n");
        text.close();
        w.Option4->setChecked(true);
        w.setDir1Path(fromPath(htmlFolder()));
        return w;
    }

    // Picks a file in File1 as the user does.
    void pick(const QString& name)
    {
        const auto found = window_->File1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        window_->File1->setCurrentItem(found.first());
        window_->File1_Click();
    }

    // Opens the search panel, lists the invoices of 2023 and ticks the given names.
    void tick(const QStringList& names)
    {
        Form1& w = *window_;
        if (w.Frame20->isHidden())
            w.Command26->click();
        w.Combo7->setEditText(QString());
        w.Combo8->setEditText(QStringLiteral("2023"));
        w.Command34->click();
        for (const QString& name : names) {
            const auto found = w.List7->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            found.first()->setCheckState(Qt::Checked);
        }
    }
};

} // namespace kuvela::test
