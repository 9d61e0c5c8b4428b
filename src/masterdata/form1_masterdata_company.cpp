// The seller company: its load into the window, the full reset, and the workbook
// opened for hand editing.
#include "masterdata/company.h"
#include "masterdata/form1_masterdata_state.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/workbook.h"
#include "shell/button_kind.h"
#include "shell/company_tree.h"
#include "shell/form1_filepane.h"
#include "shell/combo_items.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace kuvela {

namespace {


void applyCompany(Form1& f, const CompanySettings& s)
{
    f.Label22->setText(s.title);
    f.firmaVKN = s.taxNumber;
    f.user->setText(s.portalUser);
    f.pass->setText(s.portalPass);
    f.firmaMukellefiyet = s.ledgerLetter;
    f.yandexUser = s.mailUser;
    f.yandexPass = s.mailPass;
    f.userNot1 = s.note1;
    f.userNot2 = s.note2;
    f.userNot3 = s.note3;
    f.prmMatStr = s.vatBaseFlag;
    f.prmYazStr = s.amountInWordsFlag;
}

// The window as a new invoice of a new company starts it.
void resetForNewInvoice(Form1& f)
{
    f.Combo1->setEnabled(true);
    f.Combo1->setEditText(QString::fromUtf16(kNoInvoiceType));
    f.Frame13->hide();
    f.Frame14->hide();
    const QColor captions = QApplication::palette(f.Frame17).color(QPalette::HighlightedText);
    setCaptionColour(f.Frame17, captions);
    setCaptionColour(f.Frame16, captions);
    f.Command23->hide();
    for (QPushButton* b : {f.Command27, f.Command3, f.Command7, f.Command8, f.Command9, f.Command10, f.Command11,
                           f.Command15, f.Command29, f.Command26})
        makeUnusable(b);
    f.Command4->setEnabled(true);
    f.Command5->hide();
    f.Command28->hide();
    f.Command30->hide();
    f.Label20->setText(QStringLiteral("0"));
    f.Label20->hide();

    f.startNewInvoice();
    f.ListView2->clear();
    f.Combo3->clear();
    for (QListWidget* l : {f.List2, f.List3, f.List4, f.List5})
        l->clear();
    MasterDataState& md = f.state<MasterDataState>();
    md.customers = CustomerList();
    md.list5Matches.clear();
    f.alanlariTemizle();
    f.kdvMatStr.clear();
    f.Text6->clear();
    f.Text6->setPlainText(f.userNot1 + f.userNot2 + f.userNot3);
}

} // namespace

bool singleCompanyMode(const Form1& f)
{
    return f.prgMOD->text().toUpper() == u"S";
}

std::filesystem::path masterDataWorkbook()
{
    return programFolder() / "Data" / "DATA.xlsx";
}

bool readMasterData(Form1& form, const std::function<void(Workbook&)>& use)
{
    try {
        Workbook book = Workbook::open(masterDataWorkbook());
        use(book);
        return true;
    } catch (const WorkbookError& e) {
        form.setPanel(7, QStringLiteral("%1 Hata No: %2").arg(e.message()).arg(e.code()));
    } catch (const std::exception& e) {
        form.setPanel(7, QStringLiteral("Veritabanı okunamadı: ") + QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void clearCompanyValues(Form1& f)
{
    applyCompany(f, CompanySettings());
    f.gmailUser.clear();
    f.gmailPass.clear();
}

void Form1::Combo4_Change()
{
    // Typing empties the buyer and header: leaving the box then loads the company afresh, even the same one.
    state<MasterDataState>().loadedCompany.clear();
    alanlariTemizle();
    Command28->hide();
    Command30->hide();
}

void Form1::Combo4_LostFocus()
{
    const QString company = Combo4->currentText();
    if (company == QStringView(kNoCompany))
        return;
    // Only another company starts a new invoice: a click through the box keeps this one.
    MasterDataState& md = state<MasterDataState>();
    if (company == md.loadedCompany)
        return;
    md.loadedCompany.clear();

    for (QRadioButton* o : {Option3, Option4, Option5, Option6, Option7}) {
        o->setChecked(false);
        setPaneBackColour(o, ColorKind::SystemActiveBorder);
    }
    Option3->setEnabled(false);
    Frame17->setEnabled(true);

    // Setting the path runs Dir1_Change already; the load runs it once more.
    if (!isUsableCompanyName(company) || !setDir1Path(fromPath(companyFolder(programFolder(), company)))) {
        clearCompanyValues(*this);
        msgBox(QStringLiteral("Kullanıcı klasörü bulunamadı..."), MsgIcon::Exclamation);
        return;
    }
    Dir1_Change();

    whoTriggered = QStringLiteral("x");
    secildi.clear();
    beginRoad();
    resetForNewInvoice(*this);

    const bool read = readMasterData(*this, [&](Workbook& book) {
        CompanyLoad load = loadCompany(book, company);
        if (load.found) {
            applyCompany(*this, load.settings);
        } else {
            clearCompanyValues(*this);
            setPanel(7, load.message);
        }
        smmmID = load.smmmID;
        smmmPW = load.smmmPW;
        List2->addItems(load.customers.names());
        List4->addItems(load.customers.numberEntries());
        state<MasterDataState>().customers = std::move(load.customers);
    });
    if (read)
        md.loadedCompany = company;
    else
        clearCompanyValues(*this);
    Text6->setPlainText(userNot1 + userNot2 + userNot3);
    // A buyer picked on the last invoice locks nothing of the new one.
    freeBuyer(*this);
}

void Form1::Label19_Click()
{
    beginRoad();
    // Unticking a ticked box runs its handler already; it runs once more here.
    Check5->setChecked(false);
    Check5->setEnabled(false);
    Check5_Click();
    Label1_Click();
    state<MasterDataState>().loadedCompany.clear();
    Combo4_LostFocus();
    if (!singleCompanyMode(*this))
        Combo4->setEnabled(true);
}

void Form1::parameters_Click()
{
    beginRoad();
    dbOpen();
}

void Form1::dbOpen()
{
    lower();
    const std::filesystem::path book = masterDataWorkbook();
    if (!Desktop::instance().openFile(book))
        setPanel(7, QStringLiteral("Veritabanı açılamadı: ") + fromPath(book));
}

} // namespace kuvela
