// Every panel, dialog and message box that closes over a composed invoice leaves the main
// window's own focus on a usable box, never on the buyer or seller combo: back at the
// front, a click into "Adres" keeps buyer, type, lines and totals.
#include "archive/form3.h"
#include "fixtures/smtp_fixture.h"
#include "invoice/form2.h"
#include "invoice/form5.h"
#include "masterdata/form4.h"
#include "platform/paths.h"
#include "portal/upload_window_fixture.h"
#include "window/window_road.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QMessageBox>
#include <QRadioButton>

namespace kuvela::test {
namespace {

class PanelFocus;

struct FocusRoad {
    const char* id;
    std::function<void(PanelFocus&)> road;
    const char* focus;  // the main window's focus widget when the road is done
    const char* type = "SATIŞ";
};

void PrintTo(const FocusRoad& road, std::ostream* out) { *out << road.id; }

// An option is clicked on its round box: the middle of a wide one is no part of it.
void clickOption(QAbstractButton* option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

class PanelFocus : public UploadWindowTest, public ::testing::WithParamInterface<FocusRoad> {
public:
    // For the rows of the table.
    using UploadWindowTest::dialogs;
    using UploadWindowTest::form;

    PanelFocus()
    {
        env_.set("KUVELA_TIME_SCALE", QStringLiteral("0.05"));
        // Each box is a window of its own that takes the keyboard until "Tamam" is clicked.
        dialogs->onShow = [](const MessageRequest& r) {
            QMessageBox box(QMessageBox::NoIcon, r.title, r.text, QMessageBox::Ok);
            box.button(QMessageBox::Ok)->setText(QStringLiteral("Tamam"));
            box.setWindowModality(Qt::ApplicationModal);
            if (showActive(box))
                click(box.button(QMessageBox::Ok));
            QTest::qWait(50);
        };
    }

    // The demo company with a filed invoice and a filed text, an invoice typed by hand.
    void compose()
    {
        road::copyDemoFolder(home.path());
        const std::filesystem::path html = home / QStringLiteral("Firmalarım/Çağdaş Gıda/Satış Faturaları/Html");
        std::filesystem::create_directories(html);
        ASSERT_TRUE(QFile::copy(QStringLiteral(KUVELA_SOURCE_DIR "/tests/documents/fixtures/invoice_a.html"),
                                fromPath(html / toPath(kFiled))));
        QFile text(fromPath(html / toPath(kFiledText)));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("İptal raporu\n");
        text.close();
        form = std::make_unique<Form1>();
        ASSERT_TRUE(showActive(*form));
        road::logIn(*form, QStringLiteral("demo"), QStringLiteral("1234"));
        road::pickCompany(*form, QStringLiteral("Çağdaş Gıda"));
        road::pickType(*form, QString::fromUtf8(GetParam().type));
        road::pickBuyer(*form, QStringLiteral("Şahin Gıda Pazarlama A.Ş."));
        ASSERT_EQ(road::addLine(*form, {QStringLiteral("Un 50 kg"), QStringLiteral("20"), QStringLiteral("Paket"),
                                        QStringLiteral("400"), QStringLiteral("20")}),
                  QString());
        // Esc closes the line-entry dialog as its own close button does.
        QTest::keyClick(Form7::existing(*form), Qt::Key_Escape);
        if (std::string_view(GetParam().id) != "LineEntryClosed")
            road::bringToFront(*form);
        dialogs->clear();
    }

    // What a click must not take away.
    QStringList invoice() const
    {
        QStringList shown{form->Text19->text(), form->Text20->text(), form->Combo1->currentText()};
        for (const QTreeWidget* grid : {form->ListView1, form->ListView2})
            for (int i = 0; i < grid->topLevelItemCount(); ++i)
                for (int c = 0; c < grid->columnCount(); ++c)
                    shown << grid->topLevelItem(i)->text(c);
        return shown;
    }

    void pickFile(const QString& name)
    {
        const auto found = form->File1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        QTest::mouseClick(form->File1->viewport(), Qt::LeftButton, {},
                          form->File1->visualItemRect(found.first()).center());
    }

    void pickFiled()
    {
        clickOption(form->Option4);
        pickFile(kFiled);
    }

    // "Ek İşlemler", the invoices of 2023 listed and all of them ticked.
    void searchAndTickAll()
    {
        clickOption(form->Option4);
        click(form->Command26);
        ASSERT_TRUE(pickFromCombo(form->Combo8, QStringLiteral("2023")));
        click(form->Command34);
        ASSERT_TRUE(form->Check2->isVisible());
        click(form->Check2);
    }

    static inline const QString kFiled =
        QStringLiteral("GIB2023000000001 19-04-2023  1234567890 ÖRNEK İNŞAAT LTD ŞTİ-SATIŞ-ABCDEFGHIJKLMN.html");
    static inline const QString kFiledText = QStringLiteral("GIB2023000000009 09-09-2023-İPTAL.txt");
    ScopedEnv env_;
};

const FocusRoad kRoads[] = {
    {"LineEntryClosed", [](PanelFocus&) {}, "ListView1"},
    {"MailSentOverSmtp",
     [](PanelFocus& t) {
         LocalSmtpServer smtp(QStringLiteral("fatura@cagdasgida.example"), QStringLiteral("posta1"));
         ASSERT_TRUE(smtp.ready()) << smtp.error().toStdString();
         ScopedEnv env;
         env.set("KUVELA_MAIL_HOST", QStringLiteral("127.0.0.1"));
         env.set("KUVELA_MAIL_PORT", QString::number(smtp.port()));
         env.set("KUVELA_MAIL_CAFILE", smtp.caFile());
         t.pickFiled();
         click(t.form->Command15);
         clickOption(t.form->Option1);
         click(t.form->Text14);
         t.form->Text14->selectAll();
         typeKeys(t.form->Text14, QStringLiteral("alici@example.com"));
         click(t.form->Command14);
         EXPECT_EQ(t.dialogs->texts(), QStringList{QStringLiteral("Mail gönderildi")});
         EXPECT_EQ(smtp.count(), 1);
     },
     "File1"},
    {"MailCancelled",
     [](PanelFocus& t) {
         t.pickFiled();
         click(t.form->Command15);
         click(t.form->Command16);
     },
     "File1"},
    {"ArchiveSearchClosed",
     [](PanelFocus& t) {
         t.searchAndTickAll();
         click(t.form->Command36);
     },
     "File1"},
    {"VoucherPreviewClosed",
     [](PanelFocus& t) {
         t.searchAndTickAll();
         click(t.form->Command37);
         ASSERT_TRUE(t.form->Frame19->isVisible());
         click(t.form->Command32);
     },
     "List7"},
    {"CustomerCardTaken",
     [](PanelFocus& t) {
         click(t.form->Command4);
         Form4& card = form4(*t.form);
         ASSERT_TRUE(QTest::qWaitForWindowActive(&card));
         clickOption(card.Option1);
         typeInto(card.Text1, QStringLiteral("YENİ KURUM A.Ş."));
         typeInto(card.Text4, QStringLiteral("Bağdat Cad. No:5"));
         typeInto(card.Text5, QStringLiteral("Göztepe"));
         typeInto(card.Text6, QStringLiteral("0987654320"));
         click(card.Command4);
         ASSERT_FALSE(card.isVisible()) << card.panelText(2).toStdString();
     },
     "Text2"},
    {"ExtraTaxClosed",
     [](PanelFocus& t) {
         click(t.form->Command8);
         Form5& taxes = form5(*t.form);
         ASSERT_TRUE(QTest::qWaitForWindowActive(&taxes));
         taxes.close();
     },
     "ListView1"},
    {"ReturnReferencesClosed",
     [](PanelFocus& t) {
         click(t.form->Command5);
         Form2& refs = form2(*t.form);
         ASSERT_TRUE(QTest::qWaitForWindowActive(&refs));
         refs.close();
     },
     "ListView1", "İADE"},
    {"DownloadWindowClosed",
     [](PanelFocus& t) {
         t.form->faturaindir->trigger();
         Form3* window = t.form->findChild<Form3*>();
         ASSERT_TRUE(window && QTest::qWaitForWindowActive(window));
         click(window->Command3);
     },
     "File1"},
    {"NoticePanelClosed",
     [](PanelFocus& t) {
         t.form->anouncements->trigger();
         ASSERT_TRUE(t.form->Frame15->isVisible());
         click(t.form->Command25);
     },
     "ListView1"},
    {"BulkPanelClosed",
     [](PanelFocus& t) {
         click(t.form->Check5);
         t.pickFile(QStringLiteral("Toplu Fatura Örneği.xlsx"));
         click(t.form->Command6);
         ASSERT_TRUE(t.form->Frame23->isVisible());
         click(t.form->Command42);
     },
     "ListView1"},
};

TEST_P(PanelFocus, TheNextClickKeepsTheInvoice)
{
    compose();
    GetParam().road(*this);
    EXPECT_EQ(road::focusInWindow(*form), QString::fromUtf8(GetParam().focus));
    const QStringList before = invoice();
    ASSERT_EQ(form->ListView1->topLevelItemCount(), 1);
    road::bringToFront(*form);
    click(form->Text2);
    EXPECT_EQ(invoice(), before);
}

INSTANTIATE_TEST_SUITE_P(Roads, PanelFocus, ::testing::ValuesIn(kRoads),
                         [](const ::testing::TestParamInfo<FocusRoad>& info) { return std::string(info.param.id); });

} // namespace
} // namespace kuvela::test
