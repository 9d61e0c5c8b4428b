#include "archive/form3.h"

#include "archive/download_companies.h"
#include "archive/download_period.h"
#include "archive/invoice_filing.h"
#include "shell/dialog_window.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/paths.h"
#include "platform/workbook.h"
#include "shell/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kuvela {

namespace {

const QString kLoadText =
    QStringLiteral("Firma listesinden faturaları indirilecek olan firmayı , sonra Fatura türünü ve sorgu dönemini seçiniz...");
const QString kAllLedgers = QStringLiteral("Defter Türü - Hepsi");

std::filesystem::path companyFolder(const QString& company)
{
    return programFolder() / toPath(QStringLiteral("Firmalarım")) / toPath(company);
}

void setTextColour(QWidget* w, QPalette::ColorRole role)
{
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, w->palette().color(role));
    p.setColor(QPalette::ButtonText, w->palette().color(role));
    w->setPalette(p);
}

void setBackground(QListWidget* list, QPalette::ColorRole role)
{
    QPalette p = list->palette();
    p.setColor(QPalette::Base, p.color(role));
    list->setPalette(p);
}

} // namespace

Form3::Form3(Form1& main)
    : QWidget(&main, Qt::Window)
    , main_(main)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Kuvela-eArşiv Fatura İndir"));
    build();
    wire();
}

Form3::~Form3() = default;

void Form3::build()
{
    Frame2 = named(new QGroupBox(QStringLiteral("Firma Seç"), this), "Frame2");
    Combo1 = named(new QComboBox(Frame2), "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setEditText(kAllLedgers);
    bList1 = named(new QListWidget(Frame2), "bList1");
    bList1->setToolTip(QStringLiteral("Bir firma seçmek için üzerine tıklayın."));
    Check1 = named(new QCheckBox(QStringLiteral("Tümünü Seç"), Frame2), "Check1");
    Label3 = named(new QLabel(Frame2), "Label3");
    auto* firms = new QVBoxLayout(Frame2);
    firms->addWidget(Combo1);
    firms->addWidget(bList1, 1);
    auto* firmFoot = new QHBoxLayout;
    firmFoot->addWidget(Check1);
    firmFoot->addWidget(Label3, 1);
    firms->addLayout(firmFoot);

    Frame5 = named(new QGroupBox(QStringLiteral("Fatura Türü Seç"), this), "Frame5");
    Frame7 = named(new QGroupBox(Frame5), "Frame7");
    Option1 = named(new QRadioButton(QStringLiteral("ALINAN E-Arşiv"), Frame7), "Option1");
    Option2 = named(new QRadioButton(QStringLiteral("KESiLEN E-Arşiv"), Frame7), "Option2");
    auto* modes = new QHBoxLayout(Frame7);
    modes->addWidget(Option1);
    modes->addWidget(Option2);
    (new QVBoxLayout(Frame5))->addWidget(Frame7);

    Frame4 = named(new QGroupBox(QStringLiteral("Alınan e-Arşiv Sorgu Dönemi"), this), "Frame4");
    cList1 = named(new QListWidget(Frame4), "cList1");
    Command1 = named(new QPushButton(QStringLiteral("Alınanları İndir"), Frame4), "Command1");
    Command4 = named(new QPushButton(QStringLiteral("Göster"), Frame4), "Command4");
    Check2 = named(new QCheckBox(QStringLiteral("Extra Diyalog Mesajı Ver"), Frame4), "Check2");
    Text3 = named(new QLineEdit(Frame4), "Text3");
    Image1 = named(new QLabel(Frame4), "Image1");
    auto* received = new QGridLayout(Frame4);
    received->addWidget(cList1, 0, 0, 4, 1);
    received->addWidget(Command1, 0, 1);
    received->addWidget(Command4, 1, 1);
    received->addWidget(Check2, 2, 1);
    received->addWidget(Image1, 3, 1);
    received->addWidget(Text3, 4, 1);

    Frame8 = named(new QGroupBox(QStringLiteral("Kesilen e-Arşiv Sorgu Dönemi"), this), "Frame8");
    eList1 = named(new QListWidget(Frame8), "eList1");
    Command2 = named(new QPushButton(QStringLiteral("Kesilenleri İndir"), Frame8), "Command2");
    Check3 = named(new QCheckBox(QStringLiteral("İndirilmişleri tekrar indirme"), Frame8), "Check3");
    Check4 = named(new QCheckBox(QStringLiteral("İndirilirken Excel'de göster"), Frame8), "Check4");
    Check5 = named(new QCheckBox(QStringLiteral("Bu Gün Tarihli Faturalar"), Frame8), "Check5");
    Check6 = named(new QCheckBox(Frame8), "Check6");
    Label4 = named(new QLabel(Frame8), "Label4");
    auto* issued = new QGridLayout(Frame8);
    issued->addWidget(eList1, 0, 0, 6, 1);
    issued->addWidget(Command2, 0, 1);
    issued->addWidget(Check3, 1, 1);
    issued->addWidget(Check4, 2, 1);
    issued->addWidget(Check5, 3, 1);
    issued->addWidget(Check6, 4, 1);
    issued->addWidget(Label4, 5, 1);

    Frame6 = named(new QGroupBox(QStringLiteral("Firma Klasörü"), this), "Frame6");
    dList1 = named(new QListWidget(Frame6), "dList1");
    dList1->setToolTip(QStringLiteral("Dosyayı açmak için çift üzerine tıklayın..."));
    (new QVBoxLayout(Frame6))->addWidget(dList1);

    Frame1 = named(new QGroupBox(this), "Frame1");
    Text1 = named(new QLineEdit(Frame1), "Text1");
    Text2 = named(new QLineEdit(Frame1), "Text2");
    Label1 = named(new QLabel(Frame1), "Label1");
    Frame1->hide();

    Command3 = named(new QPushButton(QStringLiteral("Kapat"), this), "Command3");
    ProgressBar1 = named(new QProgressBar(this), "ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
    StatusBar1 = new DialogStatusBar(this);

    auto* grid = new QGridLayout;
    grid->addWidget(Frame2, 0, 0, 3, 1);
    grid->addWidget(Frame5, 0, 1);
    grid->addWidget(Frame4, 1, 1);
    grid->addWidget(Frame8, 2, 1);
    grid->addWidget(Frame6, 0, 2, 3, 1);
    auto* foot = new QHBoxLayout;
    foot->addWidget(ProgressBar1, 1);
    foot->addWidget(Command3);
    auto* page = new QVBoxLayout(this);
    page->addLayout(grid, 1);
    page->addLayout(foot);
    page->addWidget(Frame1);
    page->addWidget(StatusBar1);
    resize(1000, 560);
}

void Form3::wire()
{
    connect(bList1, &QListWidget::itemClicked, this, [this] { bList1_Click(); });
    Combo1->installEventFilter(this);
    connect(Option1, &QRadioButton::clicked, this, [this] { Option1_Click(); });
    connect(Option2, &QRadioButton::clicked, this, [this] { Option2_Click(); });
    connect(cList1, &QListWidget::itemClicked, this, [this] { cList1_Click(); });
    connect(eList1, &QListWidget::itemClicked, this, [this] { eList1_Click(); });
    connect(dList1, &QListWidget::itemDoubleClicked, this, [this] { dList1_DblClick(); });
    connect(dList1, &QListWidget::itemChanged, this, [this] { dList1_ItemCheck(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
}

bool Form3::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Combo1 && event->type() == QEvent::FocusOut) {
        // Opening the combo's own list or switching windows is not leaving the box.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            Combo1_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void Form3::setStatus(const QString& text) { StatusBar1->setPanel(2, text); }
QString Form3::statusText() const { return StatusBar1->panelText(2); }

void Form3::rebuildPanel2()
{
    panel2MsgStr = QStringLiteral("İşlem yapılacak firma/Dönem: ") + msg + QStringLiteral(" / ") + msg2;
    setStatus(panel2MsgStr);
}

void Form3::Form_Load()
{
    setStatus(kLoadText);
    kapat.clear();
    const QDate today = Clock::instance().now().date();
    cList1->clear();
    eList1->clear();
    const QStringList months = monthListEntries(today);
    cList1->addItems(months);
    eList1->addItems(months);
    Label4->setText(QStringLiteral("01-") + today.toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(" arası"));
    Combo1->clear();
    Combo1->addItems({QStringLiteral("Bilanço"), QStringLiteral("İşletme"), QStringLiteral("S.Meslek"),
                      QStringLiteral("Zirai K."), QStringLiteral("Diğer")});
    Combo1->setEditText(kAllLedgers);
    bList1->clear();
    if (main_.prgMOD->text().toUpper() == QLatin1String("S")) {
        msg = main_.Combo4->currentText();
        bList1->addItem(msg);
        user = main_.user->text();
        pass = main_.pass->text();
        Combo1->setEnabled(false);
        Check1->setEnabled(false);
    } else {
        try {
            const auto companies = readDownloadCompanies(downloadDataWorkbook());
            for (const DownloadCompany& c : companies)
                bList1->addItem(c.name);
            Label3->setText(QStringLiteral("Listelenen ") + QString::number(companies.size()));
        } catch (const WorkbookError& e) {
            setStatus(QStringLiteral("Firma listesi okunamadı: ") + e.message());
        }
    }
    // Nothing is picked yet: the mode, months and buttons wait for a firm.
    Frame7->setEnabled(false);
    cList1->setEnabled(false);
    eList1->setEnabled(false);
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    Command4->hide();
    Check2->hide();
    // The captcha picture and its entry belong to a running received-list login.
    Image1->hide();
    Text3->hide();
}

void Form3::resetModeChoice()
{
    for (QRadioButton* o : {Option1, Option2}) {
        o->setAutoExclusive(false);
        o->setChecked(false);
        o->setAutoExclusive(true);
    }
    dList1->clear();
    setBackground(dList1, QPalette::Mid);
    cList1->setEnabled(false);
    eList1->setEnabled(false);
    Command1->setEnabled(false);
    Command2->setEnabled(false);
}

void Form3::bList1_Click()
{
    QListWidgetItem* item = bList1->currentItem();
    if (!item)
        return;
    msg = item->text();
    msg2.clear();
    rebuildPanel2();
    Command4->hide();
    resetModeChoice();
    setTextColour(Option1, QPalette::Light);
    setTextColour(Option2, QPalette::Light);
    Frame7->setEnabled(true);
}

void Form3::Combo1_LostFocus()
{
    resetModeChoice();
    const QString filter = ledgerFilterLetter(Combo1->currentText());
    try {
        const auto companies = readDownloadCompanies(downloadDataWorkbook());
        bList1->clear();
        for (const DownloadCompany& c : companies)
            if (ledgerFilterMatches(filter, c.ledger))
                bList1->addItem(c.name);
    } catch (const WorkbookError& e) {
        setStatus(QStringLiteral("Firma listesi okunamadı: ") + e.message());
    }
}

void Form3::Option1_Click() { chooseMode(true); }

void Form3::Option2_Click() { chooseMode(false); }

void Form3::chooseMode(bool received)
{
    (received ? Option1 : Option2)->setChecked(true);
    setTextColour(Option1, received ? QPalette::Highlight : QPalette::Light);
    setTextColour(Option2, received ? QPalette::Light : QPalette::Highlight);
    msg2.clear();
    rebuildPanel2();
    cList1->setEnabled(received);
    eList1->setEnabled(!received);
    (received ? Command2 : Command1)->setEnabled(false);
    Frame6->setTitle(msg + (received ? QStringLiteral(" - Alınan Faturalar Klasörü") : QStringLiteral(" - Kesilen Faturalar Klasörü")));
    if (received)
        alisDirgetir();
    else
        satisDirgetir();
    dList1->setEnabled(true);
    setBackground(dList1, received ? QPalette::AlternateBase : QPalette::Base);
}

void Form3::eList1_Click()
{
    if (!eList1->currentItem())
        return;
    msg2 = eList1->currentItem()->text();
    rebuildPanel2();
    Command2->setEnabled(true);
}

void Form3::cList1_Click()
{
    if (!cList1->currentItem())
        return;
    msg2 = cList1->currentItem()->text();
    rebuildPanel2();
    Command1->setEnabled(true);
    Command4->hide();
    Check2->show();
}

void Form3::fileList(const QString& folder, bool onlyWorkbooks)
{
    dList1->clear();
    const auto path = companyFolder(msg) / toPath(folder);
    for (const QString& name : folderFileNames(path)) {
        if (onlyWorkbooks && !name.toLower().endsWith(QLatin1String(".xlsx")))
            continue;
        auto* item = new QListWidgetItem(name, dList1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    if (dList1->count() > 0)
        dList1->scrollToItem(dList1->item(dList1->count() - 1));
}

void Form3::alisDirgetir() { fileList(QStringLiteral("Alış Faturaları"), true); }

void Form3::satisDirgetir() { fileList(QStringLiteral("Satış Faturaları/Html"), false); }

void Form3::dList1_DblClick()
{
    QListWidgetItem* item = dList1->currentItem();
    if (!item)
        return;
    const QString name = item->text();
    const QString end = name.right(3);
    if (end == QLatin1String("lsx")) {
        exFilePath = fromPath(companyFolder(msg) / toPath(QStringLiteral("Alış Faturaları")) / toPath(name));
        Command4_Click();
    } else if (end == QLatin1String("tml") || end == QLatin1String("txt")) {
        exFilePath = fromPath(SalesFolders::ofCompany(msg).html() / toPath(name));
        if (!Desktop::instance().openFile(toPath(exFilePath)))
            setStatus(QStringLiteral("Dosya açılamadı: ") + exFilePath);
    }
}

// Ticking a file changes nothing.
void Form3::dList1_ItemCheck() {}

void Form3::Command4_Click()
{
    if (!Desktop::instance().openFile(toPath(exFilePath)))
        setStatus(QStringLiteral("Dosya açılamadı: ") + exFilePath);
}

bool Form3::tarihAyarla()
{
    Text1->setText(msg2);
    const auto period = periodOf(Text1->text());
    if (!period) {
        setStatus(unreadablePeriodText(msg2));
        return false;
    }
    ayveyil = period->ayveyil;
    yilveay = period->yilveay;
    sonTarih = period->sonTarih;
    return true;
}

Form3& form3Of(Form1& main) { return dialogOf<Form3>(main, LoadOnCreate::Yes); }

} // namespace kuvela
