// The line-entry dialog's window and its product-card side: the code lists and the
// company's cards from DATA.xlsx, "SEÇ", "KAYDET YENİ" and "VAZGEÇ".
#include "invoice/form7.h"

#include "shell/dialog_window.h"
#include "masterdata/product_cards.h"
#include "platform/paths.h"
#include "platform/workbook.h"
#include "shell/form1.h"
#include "shell/combo_items.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <utility>

namespace kuvela {

namespace {

std::filesystem::path dataFile()
{
    return programFolder() / "Data" / "DATA.xlsx";
}

using CardFields = masterdata::ProductCardFields;
using LineFields = invoice::LineEntryFields;

// A card holds every text of the line but its quantity.
constexpr std::pair<QString CardFields::*, QString LineFields::*> kCardFields[] = {
    {&CardFields::name, &LineFields::name},
    {&CardFields::unit, &LineFields::unit},
    {&CardFields::unitPrice, &LineFields::unitPrice},
    {&CardFields::discountRate, &LineFields::discountRate},
    {&CardFields::vatRate, &LineFields::vatRate},
    {&CardFields::withholdingItem, &LineFields::withholdingItem},
    {&CardFields::withholdingRate, &LineFields::withholdingRate},
    {&CardFields::extraTax1, &LineFields::extraTax1},
    {&CardFields::extraTax1Rate, &LineFields::extraTax1Rate},
    {&CardFields::extraTax2, &LineFields::extraTax2},
    {&CardFields::extraTax2Rate, &LineFields::extraTax2Rate},
    {&CardFields::gtip, &LineFields::gtip},
    {&CardFields::specialReason, &LineFields::specialReason},
    {&CardFields::specialAmount, &LineFields::specialAmount},
};

LineFields lineOfCard(const CardFields& card, const QString& quantity)
{
    LineFields line;
    line.quantity = quantity;
    for (const auto& [c, l] : kCardFields)
        line.*l = card.*c;
    return line;
}

CardFields cardOfLine(const LineFields& line)
{
    CardFields card;
    for (const auto& [c, l] : kCardFields)
        card.*c = line.*l;
    return card;
}

// Drop-down boxes that also take typed text, kept exactly as typed: no completion
// adds letters the user did not type.
QComboBox* combo(const char* name, QWidget* parent)
{
    auto* c = named(new QComboBox(parent), name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);
    return c;
}

QLineEdit* lineEdit(const char* name, QWidget* parent)
{
    return named(new QLineEdit(parent), name);
}

QLabel* caption(const QString& text, QWidget* parent)
{
    return new QLabel(text, parent);
}

// A field with its label in front, in a two-field-wide grid of the field frame.
void place(QGridLayout* grid, const QString& label, QWidget* field, int row, int column, int span = 1)
{
    if (!label.isEmpty())
        grid->addWidget(caption(label, field->parentWidget()), row, column);
    grid->addWidget(field, row, column + 1, 1, span);
}

void setIfChanged(QLineEdit* box, const QString& text)
{
    if (box->text() != text)
        box->setText(text);
}

} // namespace

Form7::Form7(Form1& main)
    : QDialog(&main)
    , main_(main)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Kuvela Stok Kartı"));
    setModal(false);
    build();
    wire();
}

Form7* Form7::existing(Form1& main)
{
    return main.findChild<Form7*>(QString(), Qt::FindDirectChildrenOnly);
}

Form7& Form7::showFor(Form1& main)
{
    Form7* dialog = &dialogOf<Form7>(main, LoadOnCreate::No);
    if (!dialog->loaded_) {
        dialog->Form_Load();
        dialog->loaded_ = true;
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return *dialog;
}

void Form7::build()
{
    auto* column = new QVBoxLayout(this);

    auto* pick = named(new QGroupBox(this), "Frame1");
    auto* pickGrid = new QGridLayout(pick);
    Combo7 = combo("Combo7", pick);
    Combo6 = combo("Combo6", pick);
    Combo8 = combo("Combo8", pick);
    Command1 = named(new QPushButton(QStringLiteral("SEÇ"), pick), "Command1");
    pickGrid->addWidget(caption(QStringLiteral("FİRMA FİLTRESİ"), pick), 0, 0);
    pickGrid->addWidget(caption(QStringLiteral("ÜRÜN / HİZMET KODU"), pick), 0, 1);
    pickGrid->addWidget(caption(QStringLiteral("ÜRÜN /  HİZMET ADI"), pick), 0, 2);
    pickGrid->addWidget(Combo7, 1, 0);
    pickGrid->addWidget(Combo6, 1, 1);
    pickGrid->addWidget(Combo8, 1, 2);
    pickGrid->addWidget(Command1, 1, 3);
    pickGrid->setColumnStretch(0, 1);
    pickGrid->setColumnStretch(1, 1);
    pickGrid->setColumnStretch(2, 2);
    column->addWidget(pick);

    auto* fields = named(new QGroupBox(this), "Frame2");
    auto* g = new QGridLayout(fields);
    Combo9 = combo("Combo9", fields);
    Text1 = lineEdit("Text1", fields);
    Text2 = lineEdit("Text2", fields);
    Text3 = lineEdit("Text3", fields);
    Combo1 = combo("Combo1", fields);
    Text4 = lineEdit("Text4", fields);
    Text5 = lineEdit("Text5", fields);
    Combo2 = combo("Combo2", fields);
    Combo3 = combo("Combo3", fields);
    Text6 = lineEdit("Text6", fields);
    Combo4 = combo("Combo4", fields);
    Text7 = lineEdit("Text7", fields);
    Combo5 = combo("Combo5", fields);
    Text8 = lineEdit("Text8", fields);
    Text9 = lineEdit("Text9", fields);
    Combo10 = combo("Combo10", fields);
    Text10 = lineEdit("Text10", fields);
    Text10->setText(QStringLiteral("0"));

    place(g, QStringLiteral("Ürün / Hizmet Kodu"), Combo9, 0, 0);
    place(g, QStringLiteral("Filitre Kodu"), Text1, 0, 2);
    place(g, QStringLiteral("Ürün / Hizmet Adı"), Text2, 1, 0, 3);
    place(g, QStringLiteral("Miktar"), Text3, 2, 0);
    place(g, QStringLiteral("Birim"), Combo1, 2, 2);
    place(g, QStringLiteral("Birim Fiyat"), Text4, 3, 0);
    place(g, QStringLiteral("İskonto Oranı %"), Text5, 3, 2);
    place(g, QStringLiteral("KDV Oranı %"), Combo2, 4, 0);
    place(g, QStringLiteral("KDV Tevkifat Kodu"), Combo3, 5, 0);
    place(g, QStringLiteral("KDV Tevk %"), Text6, 5, 2);
    g->addWidget(caption(QStringLiteral("Diğer Vergi Kodu"), fields), 6, 1);
    g->addWidget(caption(QStringLiteral("Diğer Vergi Oranı %"), fields), 6, 3);
    place(g, QStringLiteral("1."), Combo4, 7, 0, 2);
    place(g, QString(), Text7, 7, 2);
    place(g, QStringLiteral("2."), Combo5, 8, 0, 2);
    place(g, QString(), Text8, 8, 2);
    place(g, QStringLiteral("GTIP KODU"), Text9, 9, 0);
    place(g, QStringLiteral("Özel Matrah Nedeni"), Combo10, 10, 0);
    place(g, QStringLiteral("Özel Matrah Tutarı"), Text10, 10, 2);
    g->setColumnStretch(1, 2);
    column->addWidget(fields);

    auto* buttons = new QHBoxLayout;
    Check1 = named(new QCheckBox(QStringLiteral("Stok Kartlarına Ekle"), this), "Check1");
    Command4 = named(new QPushButton(QStringLiteral("FATURAYA EKLE"), this), "Command4");
    Command3 = named(new QPushButton(QStringLiteral("KAYDET YENİ"), this), "Command3");
    Command5 = named(new QPushButton(QStringLiteral("VAZGEÇ"), this), "Command5");
    Command2 = named(new QPushButton(QStringLiteral("DÜZENLE"), this), "Command2");
    Command2->hide();
    buttons->addWidget(Check1);
    buttons->addStretch(1);
    for (QPushButton* b : {Command4, Command3, Command5, Command2})
        buttons->addWidget(b);
    column->addLayout(buttons);

    StatusBar1 = new DialogStatusBar(this);
    column->addWidget(StatusBar1);
}

void Form7::wire()
{
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    // Typing is a change; picking an item from the list is not.
    connect(Combo1->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo1_Change(); });
    connect(Combo2->lineEdit(), &QLineEdit::textEdited, this, [this] { Combo2_Change(); });
    // The number boxes filter every change, typed, pasted or set by the program.
    connect(Text4, &QLineEdit::textChanged, this, [this] { Text4_Change(); });
    connect(Text5, &QLineEdit::textChanged, this, [this] { Text5_Change(); });
    connect(Text7, &QLineEdit::textChanged, this, [this] { Text7_Change(); });
    connect(Text8, &QLineEdit::textChanged, this, [this] { Text8_Change(); });
    connect(Text10, &QLineEdit::textChanged, this, [this] { Text10_Change(); });
    for (QWidget* w : {static_cast<QWidget*>(Combo3), static_cast<QWidget*>(Combo7), static_cast<QWidget*>(Text4)})
        w->installEventFilter(this);
}

bool Form7::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
            if (watched == Combo3) Combo3_LostFocus();
            else if (watched == Combo7) Combo7_LostFocus();
            else if (watched == Text4) Text4_LostFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form7::closeEvent(QCloseEvent* event)
{
    // Closing unloads the dialog: the next showing loads it afresh.
    loaded_ = false;
    Check1->setChecked(false);
    // The main window gets the keyboard back on the lines, whatever the adding changed there.
    main_.ListView1->setFocus(Qt::OtherFocusReason);
    event->accept();
    QDialog::reject();  // hidden with the dialog's result; not the override, which would close again
}

void Form7::reject()
{
    // Esc would only hide the dialog and keep the last company's lists and a ticked
    // "Stok Kartlarına Ekle": it closes as the window's own close does.
    close();
}

void Form7::setPanel(int n, const QString& text)
{
    StatusBar1->setPanel(n, text);
}

QString Form7::panelText(int n) const
{
    return StatusBar1->panelText(n);
}

void Form7::Form_Load()
{
    load(main_.Combo4->currentText());
}

void Form7::Combo7_LostFocus()
{
    load(Combo7->currentText());
}

void Form7::load(const QString& filter)
{
    for (QComboBox* box : {Combo1, Combo2, Combo3, Combo4, Combo5, Combo6, Combo8, Combo9, Combo10})
        box->clear();
    stokKartiTemizle();
    filtertxt = filter;
    Combo7->setEditText(filtertxt);
    Text1->setText(filtertxt);

    masterdata::ProductCatalogue catalogue;
    try {
        const bool singleCompany = main_.prgMOD->text() == QStringLiteral("S");
        catalogue = masterdata::loadProductCatalogue(dataFile(), filtertxt, singleCompany);
    } catch (const WorkbookError& e) {
        setPanel(2, e.message());
        return;
    }
    const masterdata::ProductCodeLists& codes = catalogue.codeLists;
    addItemsKeepingText(Combo3, codes.withholding);
    addItemsKeepingText(Combo4, codes.extraTaxes);
    addItemsKeepingText(Combo5, codes.extraTaxes);
    addItemsKeepingText(Combo1, codes.units);
    addItemsKeepingText(Combo2, codes.vatRates);
    addItemsKeepingText(Combo10, codes.specialReasons);
    if (filtertxt.isEmpty()) {
        // Emptied first, so that a reload does not list the companies twice.
        const QSignalBlocker quiet(Combo7);
        Combo7->clear();
        addItemsKeepingText(Combo7, catalogue.companies);
    }
    addItemsKeepingText(Combo6, catalogue.cards.codes);
    addItemsKeepingText(Combo8, catalogue.cards.names);
}

void Form7::Command1_Click()
{
    std::optional<masterdata::ProductCard> card;
    try {
        card = masterdata::pickProductCard(dataFile(), Combo8->currentText(), Combo6->currentText());
    } catch (const WorkbookError& e) {
        setPanel(2, e.message());
        return;
    }
    Combo6->setEditText(QString());
    Combo8->setEditText(QString());
    if (!card)
        return;
    Combo9->setEditText(card->code);
    Text1->setText(card->company);
    setLineFields(lineOfCard(card->fields, Text3->text()));
}

void Form7::Command2_Click()
{
    Command3->setVisible(true);
    Command5->setVisible(true);
}

void Form7::Command3_Click()
{
    const masterdata::ProductCard card{Combo9->currentText(), Text1->text(), cardOfLine(lineFields())};
    try {
        masterdata::saveNewProductCard(dataFile(), card);
    } catch (const WorkbookError& e) {
        // Nothing was written: the fields stay for another try.
        setPanel(2, e.message());
        return;
    }
    Form_Load();
}

void Form7::Command5_Click()
{
    stokKartiTemizle();
}

void Form7::stokKartiTemizle()
{
    Text2->clear();
    Text3->clear();
    Text4->clear();
    Text5->setText(QStringLiteral("0"));
    for (QLineEdit* box : {Text6, Text7, Text8, Text9, Text10})
        box->clear();
    setPanel(2, QString());
    for (QComboBox* box : {Combo3, Combo4, Combo5, Combo6, Combo8, Combo9, Combo10})
        box->setEditText(QString());
}

invoice::LineEntryFields Form7::lineFields() const
{
    invoice::LineEntryFields f;
    f.name = Text2->text();
    f.quantity = Text3->text();
    f.unit = Combo1->currentText();
    f.unitPrice = Text4->text();
    f.discountRate = Text5->text();
    f.vatRate = Combo2->currentText();
    f.withholdingItem = Combo3->currentText();
    f.withholdingRate = Text6->text();
    f.extraTax1 = Combo4->currentText();
    f.extraTax1Rate = Text7->text();
    f.extraTax2 = Combo5->currentText();
    f.extraTax2Rate = Text8->text();
    f.gtip = Text9->text();
    f.specialReason = Combo10->currentText();
    f.specialAmount = Text10->text();
    return f;
}

void Form7::setLineFields(const invoice::LineEntryFields& f)
{
    setIfChanged(Text2, f.name);
    setIfChanged(Text3, f.quantity);
    setUnitText(f.unit);
    setIfChanged(Text4, f.unitPrice);
    setIfChanged(Text5, f.discountRate);
    setVatRateText(f.vatRate);
    Combo3->setEditText(f.withholdingItem);
    setIfChanged(Text6, f.withholdingRate);
    Combo4->setEditText(f.extraTax1);
    setIfChanged(Text7, f.extraTax1Rate);
    Combo5->setEditText(f.extraTax2);
    setIfChanged(Text8, f.extraTax2Rate);
    setIfChanged(Text9, f.gtip);
    Combo10->setEditText(f.specialReason);
    setIfChanged(Text10, f.specialAmount);
}

} // namespace kuvela
