#include "masterdata/form4.h"

#include "shell/dialog_window.h"
#include "common/regional.h"
#include "platform/paths.h"
#include "shell/form1.h"
#include "shell/twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kuvela {

namespace {

// Unselects an option of an exclusive pair without running its handler.
void unselect(QRadioButton* option)
{
    const QSignalBlocker quiet(option);
    option->setAutoExclusive(false);
    option->setChecked(false);
    option->setAutoExclusive(true);
}

} // namespace

Form4::Form4(Form1& main)
    : QWidget(&main, Qt::Window)
    , main_(main)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Kuvela-Yeni Müşteri Kartı"));
    build();
    wire();
}

void Form4::build()
{
    Label12 = named(new QLabel(QStringLiteral("YENİ MÜŞTERİ KARTI "), this), "Label12");
    QFont heading = Label12->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.3);
    Label12->setFont(heading);

    Frame2 = named(new QGroupBox(QStringLiteral("Alıcı Türü seçimi"), this), "Frame2");
    Option1 = named(new QRadioButton(QStringLiteral("KURUM"), Frame2), "Option1");
    Option2 = named(new QRadioButton(QStringLiteral("ŞAHIS"), Frame2), "Option2");
    auto* kinds = new QHBoxLayout(Frame2);
    kinds->addWidget(Option1);
    kinds->addWidget(Option2);

    Frame1 = named(new QGroupBox(this), "Frame1");
    Frame1->setEnabled(false);
    auto label = [this](const char* name, const QString& text) { return named(new QLabel(text, Frame1), name); };
    auto line = [this](const char* name) { return named(new QLineEdit(Frame1), name); };
    Label1 = label("Label1", QStringLiteral("ÜNVANI"));
    Text1 = line("Text1");
    Label2 = label("Label2", QStringLiteral("ADI"));
    Text2 = line("Text2");
    Label3 = label("Label3", QStringLiteral("SOYADI"));
    Text3 = line("Text3");
    Label4 = label("Label4", QStringLiteral("ADRESİ"));
    Text4 = named(new QPlainTextEdit(Frame1), "Text4");
    Text4->setTabChangesFocus(true);
    Text4->setFixedHeight(twipsToPixels(900));
    Label13 = label("Label13", QStringLiteral("ÜLKE"));
    Combo1 = named(new QComboBox(Frame1), "Combo1");
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    // Start-up's country list; the box still takes any text.
    Combo1->addItems(main_.ulkeListesi);
    Combo1->setEditText(QStringLiteral("Türkiye"));
    Label5 = label("Label5", QStringLiteral("VERGİ DAİRESİ"));
    Text5 = line("Text5");
    Label6 = label("Label6", QStringLiteral("VK No"));
    Text6 = line("Text6");
    Label7 = label("Label7", QStringLiteral("E-POSTA"));
    Text7 = line("Text7");
    Label8 = label("Label8", QStringLiteral("TELEFON"));
    Text8 = line("Text8");
    Label9 = label("Label9", QStringLiteral("FAKS"));
    Text9 = line("Text9");
    Label11 = label("Label11", QStringLiteral("YETKİLİ  KİŞİ"));
    Text10 = line("Text10");
    Label10 = label("Label10", QStringLiteral("MUH. HESAP KODU"));
    Text11 = line("Text11");

    Frame3 = named(new QGroupBox(QStringLiteral("Güvenlik Kodu"), Frame1), "Frame3");
    Image1 = named(new QLabel(Frame3), "Image1");
    Text12 = named(new QLineEdit(Frame3), "Text12");
    auto* captcha = new QHBoxLayout(Frame3);
    captcha->addWidget(Image1);
    captcha->addWidget(Text12);
    Frame3->hide();
    Text12->hide();
    Label14 = named(new QLabel(Frame1), "Label14");

    Command1 = named(new QPushButton(QStringLiteral("KAYDET ve Yeni"), Frame1), "Command1");
    Command4 = named(new QPushButton(QStringLiteral("KAYDET ve Seç"), Frame1), "Command4");
    Command3 = named(new QPushButton(QStringLiteral("Sorgula"), Frame1), "Command3");
    Command5 = named(new QPushButton(QStringLiteral("SORGULA"), Frame1), "Command5");
    Command6 = named(new QPushButton(QStringLiteral("Formu Temizle"), Frame1), "Command6");
    Command2 = named(new QPushButton(QStringLiteral("KAPAT"), Frame1), "Command2");
    setAllButtons(false);

    auto* grid = new QGridLayout(Frame1);
    const std::pair<QLabel*, QWidget*> rows[] = {{Label1, Text1},  {Label2, Text2},  {Label3, Text3},   {Label4, Text4},
                                                 {Label13, Combo1}, {Label5, Text5}, {Label6, Text6},   {Label7, Text7},
                                                 {Label8, Text8},   {Label9, Text9}, {Label11, Text10}, {Label10, Text11}};
    int r = 0;
    for (const auto& [caption, box] : rows) {
        grid->addWidget(caption, r, 0);
        grid->addWidget(box, r, 1);
        ++r;
    }
    // The look-ups sit beside the number they look up.
    grid->addWidget(Command3, 6, 2);
    grid->addWidget(Command5, 6, 3);
    grid->addWidget(Label14, 7, 2, 1, 2);
    grid->addWidget(Frame3, 8, 2, 3, 2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {Command1, Command4, Command6, Command2})
        buttons->addWidget(b);
    grid->addLayout(buttons, r, 0, 1, 4);
    grid->setColumnStretch(1, 1);

    StatusBar1 = new DialogStatusBar(this);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Label12, 0, Qt::AlignHCenter);
    column->addWidget(Frame2);
    column->addWidget(Frame1, 1);
    column->addWidget(StatusBar1);
    resize(twipsToPixels(9600), twipsToPixels(7800));
}

void Form4::wire()
{
    connect(Option1, &QRadioButton::toggled, this, [this](bool on) { if (on) Option1_Click(); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) { if (on) Option2_Click(); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(Text3, &QLineEdit::textChanged, this, [this] { Text3_Change(); });
    connect(Text4, &QPlainTextEdit::textChanged, this, [this] { Text4_Change(); });
    connect(Text5, &QLineEdit::textChanged, this, [this] { Text5_Change(); });
    connect(Text6, &QLineEdit::textChanged, this, [this] { Text6_Change(); });
    connect(Text12, &QLineEdit::textChanged, this, [this] { Text12_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
}

QString Form4::panelText(int n) const
{
    return StatusBar1->panelText(n);
}

CustomerKind Form4::kind() const
{
    if (Option1->isChecked())
        return CustomerKind::Kurum;
    return Option2->isChecked() ? CustomerKind::Sahis : CustomerKind::None;
}

CustomerCardFields Form4::fields() const
{
    CustomerCardFields f;
    f.title = Text1->text();
    f.givenName = Text2->text();
    f.surname = Text3->text();
    f.address = Text4->toPlainText();
    f.country = Combo1->currentText();
    f.taxOffice = Text5->text();
    f.taxNumber = Text6->text();
    f.email = Text7->text();
    f.phone = Text8->text();
    f.fax = Text9->text();
    f.contact = Text10->text();
    f.accountCode = Text11->text();
    return f;
}

void Form4::setSaveButtons(bool on)
{
    if (lookupRunning_) {
        saveButtonsLater_ = on;
        return;
    }
    Command1->setEnabled(on);
    Command4->setEnabled(on);
}

void Form4::setAllButtons(bool on)
{
    setSaveButtons(on);
    if (lookupRunning_) {
        lookupButtonsLater_ = on;
        return;
    }
    Command3->setEnabled(on);
    Command5->setEnabled(on);
}

void Form4::showCard()
{
    if (!loaded_)
        Form_Load();
    show();
    raise();
    activateWindow();
}

void Form4::Form_Load()
{
    unselect(Option1);
    unselect(Option2);
    formuTemizle();
    loaded_ = true;
}

void Form4::formuTemizle()
{
    for (QLineEdit* box : {Text1, Text2, Text3})
        box->clear();
    Text4->clear();
    for (QLineEdit* box : {Text5, Text6, Text7, Text8, Text9, Text10, Text11})
        box->clear();
    // The number rule decides the buttons even when the box was empty already.
    Text6_Change();
    StatusBar1->setPanel(2, QString());
    Image1->clear();
    Text12->clear();
    Text12->hide();
    Frame3->hide();
    Label14->clear();
}

void Form4::chooseKind(CustomerKind kind)
{
    Text6->clear();
    Text6_Change();
    const KindLayout l = kindLayout(kind);
    Label1->setText(l.label1);
    Label2->setText(l.label2);
    Label3->setText(l.label3);
    Label6->setText(l.label6);
    Text6->setMaxLength(l.text6MaxLength);
    Text1->setVisible(l.showTitle);
    Text2->setVisible(l.showNames);
    Text3->setVisible(l.showNames);
    Frame1->setEnabled(true);
    setSaveButtons(true);
}

void Form4::Option1_Click()
{
    chooseKind(CustomerKind::Kurum);
}

void Form4::Option2_Click()
{
    chooseKind(CustomerKind::Sahis);
}

void Form4::applyBoxChange(CardBox box)
{
    const BoxChange c = boxChange(box);
    if (c.clearPanel2)
        StatusBar1->setPanel(2, QString());
    if (c.clearNames) {
        Text2->clear();
        Text3->clear();
    }
    if (c.clearTitle)
        Text1->clear();
}

void Form4::Text1_Change() { applyBoxChange(CardBox::Text1); }
void Form4::Text2_Change() { applyBoxChange(CardBox::Text2); }
void Form4::Text3_Change() { applyBoxChange(CardBox::Text3); }
void Form4::Text4_Change() { applyBoxChange(CardBox::Text4); }
void Form4::Text5_Change() { applyBoxChange(CardBox::Text5); }

void Form4::Text6_Change()
{
    const NumberChange c = text6Change(Text6->text(), kind());
    if (c.text != Text6->text()) {
        const QSignalBlocker quiet(Text6);
        Text6->setText(c.text);
    }
    Text6->end(false);
    if (c.panel2)
        StatusBar1->setPanel(2, *c.panel2);
    setAllButtons(c.buttonsEnabled);
}

void Form4::Text12_Change()
{
    const QString upper = turkishUpper(Text12->text());
    if (upper != Text12->text()) {
        const QSignalBlocker quiet(Text12);
        Text12->setText(upper);
    }
    Text12->end(false);
}

void Form4::Command1_Click()
{
    if (lookupRunning_)
        return;
    StatusBar1->setPanel(2, QString());
    const CustomerCardFields card = fields();
    if (const auto failed = checkCard(card)) {
        lastSave_ = SaveOutcome{};
        lastSave_.panel2 = *failed;
        StatusBar1->setPanel(2, *failed);
        return;
    }
    setAllButtons(false);
    lastSave_ = saveCustomer(programFolder() / "Data" / "DATA.xlsx", card);
    StatusBar1->setPanel(2, lastSave_.panel2);
    if (lastSave_.result == SaveOutcome::Result::Saved) {
        main_.aad->setText(lastSave_.aad);
        main_.ssoyad->setText(lastSave_.ssoyad);
        main_.uunvan->setText(lastSave_.uunvan);
    }
    if (lastSave_.resetCard()) {
        Form_Load();
        // The reset empties panel 2: the result goes there after it, where it is seen.
        StatusBar1->setPanel(2, lastSave_.panel2);
    } else {
        // A refused save keeps the card as typed, its message beside it.
        setAllButtons(text6Change(Text6->text(), kind()).buttonsEnabled);
    }
}

void Form4::Command4_Click()
{
    if (lookupRunning_)
        return;
    main_.whoTriggered = kWhoTriggeredCard;
    const CustomerCardFields card = fields();
    if (const auto failed = checkCard(card)) {
        StatusBar1->setPanel(2, *failed);
        return;
    }
    // Stored first: a number the workbook holds for someone else, or a workbook that
    // cannot be written, keeps the card as typed and the invoice's buyer as it was.
    Command1_Click();
    if (lastSave_.result != SaveOutcome::Result::Saved)
        return;

    // The search goes away under the main window's focus; the buyer's boxes take it.
    main_.Text2->setFocus(Qt::OtherFocusReason);
    main_.List3->hide();
    main_.Frame14->hide();
    main_.Command23->hide();
    main_.secildi = kSecildi;
    hide();

    const HandOver h = handOver(card);
    main_.Combo3->setEditText(h.combo3);
    {
        // A picked buyer: the name search stays shut.
        const QSignalBlocker quiet(main_.Text19);
        main_.Text19->setText(h.text19);
    }
    main_.Text2->setText(h.text2);
    main_.Text3->setText(h.text3);
    main_.Text4->setText(h.text4);
    {
        // Nor does the number search run for it.
        const QSignalBlocker quiet(main_.Text20);
        main_.Text20->setText(h.text20);
    }
    main_.Text5->setText(h.text5);
    main_.Text12->setText(h.text12);
    // What the two skipped searches leave behind.
    main_.secildi.clear();
    main_.whoTriggered = QStringLiteral("x");
    // The buyer is chosen: the card starts empty next time.
    Form_Load();
}

void Form4::Command2_Click()
{
    karar = QStringLiteral("Kapat");
    formuTemizle();
    hide();
}

void Form4::closeEvent(QCloseEvent* event)
{
    // The window's own close button closes the card as "KAPAT" does; the card stays loaded.
    event->ignore();
    Command2_Click();
}

void Form4::Command6_Click()
{
    formuTemizle();
}

Form4& form4(Form1& main)
{
    return dialogOf<Form4>(main, LoadOnCreate::Yes);
}

} // namespace kuvela
