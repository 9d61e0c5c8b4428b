// Every panel, dialog and message box that closes over a composed invoice leaves the main
// window's own focus on a usable box, never on the buyer or seller combo: back at the
// front, a click into "Adres" keeps buyer, type, lines and totals, as it does after the
// user's own click into the seller box.
#include "fixtures/smtp_fixture.h"
#include "invoice/form2.h"
#include "masterdata/form4.h"
#include "platform/paths.h"
#include "portal/upload_window_fixture.h"
#include "window/window_road.h"

#include <QAction>
#include <QLabel>
#include <QCheckBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

namespace kuvela::test {
namespace {

class PanelFocus;

// `open` leaves `shown` on the screen; `closer`, a button of its own, or its own close takes it away.
struct FocusRoad {
    const char *id, *focus; // the main window's focus widget when the road is done
    std::function<void(PanelFocus&)> open = [](PanelFocus&) {};
    const char *shown = nullptr, *closer = nullptr, *type = "SATIŞ";
    int lines = 1; // a bulk reading takes the typed invoice away
    std::function<void(PanelFocus&)> then = [](PanelFocus&) {};
};

void PrintTo(const FocusRoad& road, std::ostream* out) { *out << road.id; }

// An option is clicked on its round box: the middle of a wide one is no part of it.
void clickOption(QAbstractButton* option) { QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2)); }

void pickFile(Form1& f, const QString& name)
{
    const auto found = f.File1->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    QTest::mouseClick(f.File1->viewport(), Qt::LeftButton, {}, f.File1->visualItemRect(found.first()).center());
}

const QString kFiled =
    QStringLiteral("GIB2023000000001 19-04-2023  1234567890 ÖRNEK İNŞAAT LTD ŞTİ-SATIŞ-ABCDEFGHIJKLMN.html");

void pickFiled(Form1& f) { clickOption(f.Option4), pickFile(f, kFiled); }

// "Ek İşlemler", the invoices of 2023 listed and all of them ticked.
void searchAndTickAll(Form1& f)
{
    clickOption(f.Option4);
    click(f.Command26);
    ASSERT_TRUE(pickFromCombo(f.Combo8, QStringLiteral("2023")));
    click(f.Command34);
    ASSERT_TRUE(f.Check2->isVisible());
    click(f.Check2);
}

// Focus the program passes on from a control it hid, as a Tab key would: a closing names its target.
struct PassedOn : QObject {
    explicit PassedOn(const QWidget* w) : window(w) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(e)->reason() == Qt::TabFocusReason
            && window->isAncestorOf(qobject_cast<QWidget*>(watched)))
            to << watched->objectName();
        return false;
    }
    const QWidget* window;
    QStringList to;
};

class PanelFocus : public UploadWindowTest, public ::testing::WithParamInterface<FocusRoad> {
public:
    using UploadWindowTest::dialogs, UploadWindowTest::form, UploadWindowTest::portal;

    PanelFocus()
    {
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

    // The demo company with a filed invoice, an invoice typed by hand.
    void compose()
    {
        road::copyDemoFolder(home.path());
        const std::filesystem::path html = home / QStringLiteral("Firmalarım/Çağdaş Gıda/Satış Faturaları/Html");
        std::filesystem::create_directories(html);
        ASSERT_TRUE(QFile::copy(QStringLiteral(KUVELA_SOURCE_DIR "/tests/documents/fixtures/invoice_a.html"),
                                fromPath(html / toPath(kFiled))));
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

    // "e-Arşiv" on the fake portal and "GÜVENLİ ÇIKIŞ" while the draft waits; the panel stays.
    void uploadAndQuit()
    {
        portal = std::make_unique<FakePortal>(road::demoScenario());
        ASSERT_TRUE(road::uploadAndQuit(*form)) << form->panelText(7).toStdString();
    }

    const ScopedEnv scale_{"KUVELA_TIME_SCALE", "0.05"};
};

void sendMail(PanelFocus& t)
{
    LocalSmtpServer smtp(QStringLiteral("fatura@cagdasgida.example"), QStringLiteral("posta1"));
    ASSERT_TRUE(smtp.ready()) << smtp.error().toStdString();
    const ScopedEnv host("KUVELA_MAIL_HOST", "127.0.0.1"), port("KUVELA_MAIL_PORT", QByteArray::number(smtp.port())),
        ca("KUVELA_MAIL_CAFILE", smtp.caFile().toUtf8());
    pickFiled(*t.form);
    click(t.form->Command15);
    clickOption(t.form->Option1);
    click(t.form->Text14);
    t.form->Text14->selectAll();
    typeKeys(t.form->Text14, QStringLiteral("alici@example.com"));
    click(t.form->Command14);
    EXPECT_EQ(t.dialogs->texts(), QStringList{QStringLiteral("Mail gönderildi")});
    EXPECT_EQ(smtp.count(), 1);
}

// The seller box a sent mail freed takes another company: its new invoice takes any buyer.
void anotherCompany(PanelFocus& t)
{
    road::pickCompany(*t.form, QStringLiteral("Işık Yazılım"));
    click(t.form->Text2);
    EXPECT_TRUE(t.form->Combo3->isEnabled() && t.form->Text19->isEnabled() && !t.form->List3->isHidden());
    road::pickBuyer(*t.form, QStringLiteral("Şahin Gıda Pazarlama A.Ş."));
    click(t.form->Text2);
    EXPECT_EQ(t.form->Text20->text(), QStringLiteral("5555555555"));
}

// Neither the greyed buyer list nor a caption is the window's bare ground; the gap beside the file pane is.
void clickBareGround(PanelFocus& t)
{
    ASSERT_FALSE(t.form->Combo3->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{t.form->Combo3->lineEdit(), t.form->Label22})
        click(w);
    EXPECT_TRUE(t.form->Frame10->isHidden());
    const QWidget* pane = t.form->Frame1;
    QTest::mouseClick(pane->parentWidget(), Qt::LeftButton, {}, pane->pos() + QPoint(-1, pane->height() / 2));
}

void fillNewCustomer(PanelFocus& t)
{
    click(t.form->Command4);
    Form4& card = form4(*t.form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&card));
    clickOption(card.Option1);
    typeInto(card.Text1, QStringLiteral("YENİ KURUM A.Ş."));
    typeInto(card.Text4, QStringLiteral("Bağdat Cad. No:5"));
    typeInto(card.Text5, QStringLiteral("Göztepe"));
    typeInto(card.Text6, QStringLiteral("0987654320"));
}

void bulkFile(PanelFocus& t)
{
    click(t.form->Check5);
    pickFile(*t.form, QStringLiteral("Toplu Fatura Örneği.xlsx"));
    click(t.form->Command6);
}

void openMail(PanelFocus& t) { pickFiled(*t.form), click(t.form->Command15); }

// A return reference: a day, a serial, "Ekle".
void addReference(PanelFocus& t)
{
    click(t.form->Command5);
    Form2& refs = form2(*t.form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&refs));
    ASSERT_TRUE(pickFromCombo(refs.Combo3, refs.Combo3->itemText(4))) << refs.Combo3->currentText().toStdString();
    typeInto(refs.Text1, QStringLiteral("ABC/1"));
    click(refs.Command1);
}

// The bulk template read on an invoice date, grouped by tax number: its invoices wait on the upload panel.
void readBulk(PanelFocus& t)
{
    ASSERT_TRUE(pickFromCombo(t.form->Combo5, t.form->Combo5->itemText(0)));
    bulkFile(t);
    clickOption(t.form->prm1);
    click(t.form->Command43);
}

// The queue uploaded asking before each invoice, and "VAZGEÇ" the answer every time.
void cancelEachBulkInvoice(PanelFocus& t)
{
    readBulk(t);
    t.portal = std::make_unique<FakePortal>(road::demoScenario());
    clickOption(t.form->Check6);
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] { t.form->Command41->isVisible() ? click(t.form->Command41) : void(); });
    answer.start(50);
    click(t.form->Command31);
    EXPECT_EQ(t.form->karar, QStringLiteral("VAZGEÇ"));
}

// The upload panel's "X" frees the seller box again; the user clicks into it.
void intoSellerBox(PanelFocus& t)
{
    t.uploadAndQuit();
    click(t.form->Command55);
    click(t.form->Combo4->lineEdit());
}

// "Alıcı" frees the buyer list for another buyer of the same invoice; the note keeps the seller's lines.
void anotherBuyer(PanelFocus& t)
{
    click(t.form->Label1);
    road::pickBuyer(*t.form, QStringLiteral("Şahin Gıda Pazarlama A.Ş."));
    const QString note = t.form->Text6->toPlainText();
    EXPECT_TRUE(note.startsWith(QStringLiteral("• Ödeme vadesi 30 gündür."))) << note.toStdString();
}

const FocusRoad kRoads[] = {
    {"LineEntryClosed", "ListView1"},
    {"MailSentOverSmtp", "File1", sendMail, nullptr, nullptr, "SATIŞ", 1, anotherCompany},
    {"MailCancelled", "File1", openMail, "Frame7", "Command16"},
    {"ArchiveSearchClosed", "File1", [](PanelFocus& t) { searchAndTickAll(*t.form); }, "Frame20", "Command36"},
    {"VoucherPreviewClosed", "List7", [](PanelFocus& t) { searchAndTickAll(*t.form), click(t.form->Command37); },
     "Frame19", "Command32"},
    {"CustomerCardTaken", "Text2", fillNewCustomer, "Form4", "Command4"},
    {"ExtraTaxClosed", "ListView1", [](PanelFocus& t) { click(t.form->Command8); }, "Form5"},
    {"ReturnReferencesClosed", "ListView1", [](PanelFocus& t) { click(t.form->Command5); }, "Form2", nullptr, "İADE"},
    {"DownloadWindowClosed", "File1", [](PanelFocus& t) { t.form->faturaindir->trigger(); }, "Form3", "Command3"},
    {"NoticePanelClosed", "ListView1", [](PanelFocus& t) { t.form->anouncements->trigger(); }, "Frame15", "Command25"},
    {"BulkPanelClosed", "ListView1", bulkFile, "Frame23", "Command42"},
    {"ArchiveMailOpened", "Text14", [](PanelFocus& t) { searchAndTickAll(*t.form); }, "Frame20", "Command40"},
    {"DownloadWindowOverTheMail", "Text14",
     [](PanelFocus& t) { openMail(t), click(t.form->Text16), t.form->faturaindir->trigger(); }, "Form3", "Command3"},
    {"MailOpened", "Text14", openMail},
    {"ReturnReferencesTaken", "ListView1", addReference, "Form2", "Command3", "İADE"},
    {"NameSearchClosed", "Text19",
     [](PanelFocus& t) { click(t.form->Label1), typeInto(t.form->Text19, QStringLiteral("ş")); }, "Frame14", "Command23"},
    {"NumberSearchClosed", "Text20", [](PanelFocus& t) { typeInto(t.form->Text20, QStringLiteral("1")); }, "Frame13",
     "Command24"},
    // A click on the window's bare ground shows the radio.
    {"RadioPanelClosed", "ListView1", clickBareGround, "Frame10", "Command18"},
    {"BulkReadingDone", "ListView1", readBulk, nullptr, nullptr, "SATIŞ", 0},
    {"BulkInvoicesCancelled", "ListView1", cancelEachBulkInvoice},
    {"SafeExitWhileTheDraftWaits", "ListView1", [](PanelFocus& t) { t.uploadAndQuit(); }},
    {"SellerBoxLeftForTheAddress", "Combo4", intoSellerBox, nullptr, nullptr, "SATIŞ", 1, anotherBuyer},
};

TEST_P(PanelFocus, TheNextClickKeepsTheInvoice)
{
    const FocusRoad& r = GetParam();
    compose();
    r.open(*this);
    ASSERT_FALSE(HasFatalFailure());
    if (r.shown) {
        const QPointer<QWidget> shown = form->findChild<QWidget*>(QString::fromLatin1(r.shown));
        ASSERT_TRUE(shown && (shown->isWindow() ? QTest::qWaitForWindowActive(shown) : shown->isVisible()));
        const PassedOn passed(form.get());
        r.closer ? click(shown->findChild<QWidget*>(QString::fromLatin1(r.closer))) : void(shown->close());
        ASSERT_TRUE(!shown || !shown->isVisible()) << r.shown;
        EXPECT_EQ(passed.to, QStringList());
    }
    EXPECT_EQ(road::focusInWindow(*form), QString::fromUtf8(r.focus));
    const QStringList before = invoice();
    ASSERT_EQ(form->ListView1->topLevelItemCount(), r.lines);
    road::bringToFront(*form);
    click(form->Text2);
    EXPECT_EQ(invoice(), before);
    r.then(*this);
}

INSTANTIATE_TEST_SUITE_P(Roads, PanelFocus, ::testing::ValuesIn(kRoads),
                         [](const ::testing::TestParamInfo<FocusRoad>& info) { return std::string(info.param.id); });

} // namespace
} // namespace kuvela::test
