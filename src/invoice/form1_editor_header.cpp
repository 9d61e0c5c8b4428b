// The invoice header on the main window: the type combo that starts a new invoice
// and lays the line grid out for it, the currency, the seller's text and the dates.
#include "common/regional.h"
#include "invoice/form1_editor_state.h"
#include "invoice/form1_editor_type.h"
#include "invoice/invoice_type.h"
#include "masterdata/header_dates.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "shell/button_kind.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace kuvela {

namespace {

// Whether the user picked an item of the type combo since the last type change,
// and the type text the current invoice was started with. Kept on the combo itself.
constexpr char kPicked[] = "kuvelaTypePicked";
constexpr char kStartedWith[] = "kuvelaInvoiceType";
constexpr char kWatched[] = "kuvelaTypeWatched";

void watchTypePicks(Form1& form)
{
    QComboBox* combo = form.Combo1;
    if (combo->property(kWatched).toBool())
        return;
    combo->setProperty(kWatched, true);
    combo->setProperty(kStartedWith, invoice::promptText());
    // activated comes for every pick, the same item again included.
    QObject::connect(combo, &QComboBox::activated, combo, [combo] { combo->setProperty(kPicked, true); });
}

// Tabbing through the combo is no type change: only a pick, or a text that differs
// from the type the invoice was started with, starts a new invoice.
bool typeChangeWanted(const Form1& form)
{
    const QComboBox* combo = form.Combo1;
    return combo->property(kPicked).toBool() || combo->currentText() != combo->property(kStartedWith).toString();
}

void typeChangeDone(Form1& form)
{
    form.Combo1->setProperty(kPicked, false);
    form.Combo1->setProperty(kStartedWith, form.Combo1->currentText());
}

int listPosition(const QComboBox* combo)
{
    return combo->findText(combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

bool allowsBulk(invoice::InvoiceKind kind)
{
    using K = invoice::InvoiceKind;
    return kind == K::Satis || kind == K::Tevkifat || kind == K::KonaklamaVergisi;
}

void setWidgetColour(QWidget* w, QPalette::ColorRole role, const QColor& colour)
{
    QPalette p = w->palette();
    p.setColor(role, colour);
    w->setPalette(p);
}

} // namespace

invoice::InvoiceKind invoiceKindOf(const Form1& form)
{
    const invoice::InvoiceKind listed = invoice::invoiceKindAt(listPosition(form.Combo1));
    return listed != invoice::InvoiceKind::None ? listed : invoice::invoiceKindByText(form.Combo1->currentText());
}

void Form1::temelfatura()
{
    watchTypePicks(*this);
    lineGrid(*this).temelfatura();
    showLineGrid(*this);
}

void Form1::Combo1_LostFocus()
{
    watchTypePicks(*this);
    if (!typeChangeWanted(*this))
        return;
    beginRoad();
    if (turkishUpper(firmaMukellefiyet) == QStringLiteral("S")) {
        msgBox(QStringLiteral("Bu belge türü Satıcı firmanın Mükellefiyetine uygun değildir !"), MsgIcon::Exclamation);
        Combo1->setEditText(invoice::promptText());
        // The invoice stays as it was; leaving the prompt again asks nothing more.
        typeChangeDone(*this);
        return;
    }
    typeChangeDone(*this);

    const QString type = Combo1->currentText();
    const invoice::InvoiceKind kind = invoiceKindOf(*this);
    ekmat1 = ekmat8 = ekmat18 = ekmat10 = ekmat20 = Decimal();
    Command6->setEnabled(false);
    Option5->setChecked(false);
    Option4->setChecked(false);
    Option3->setChecked(true);
    if (allowsBulk(kind)) {
        Check5->setEnabled(true);
    } else {
        Check5->setChecked(false);
        Check5->setEnabled(false);
    }
    Option3_Click();
    makeUnusable(Command3);

    invoice::LineGrid& grid = lineGrid(*this);
    grid.rows.clear();
    ListView2->clear();
    Text8->clear();
    Text9->clear();
    Text10->clear();
    Text11->clear();
    kdvMatStr.clear();
    yazTopStr.clear();
    Text6->setPlainText(userNot1 + userNot2 + userNot3);

    if (type != invoice::promptText()) {
        Option3->setEnabled(true);
        makeUsable(Command8, ButtonKind::Import);
        makeUsable(Command7, ButtonKind::Import);
    }
    if (invoice::invoiceTypeOf(kind)) {
        const bool iade = kind == invoice::InvoiceKind::Iade;
        Command5->setVisible(iade);
        Label20->setVisible(iade);
        grid.layoutForType(kind);
    }
    showLineGrid(*this);
}

void Form1::Combo2_LostFocus()
{
    if (Combo2->currentText() != QStringLiteral("Türk Lirası")) {
        Text7->setEnabled(true);
        const QColor tip = palette().color(QPalette::ToolTipBase);
        setWidgetColour(Label7, QPalette::WindowText, tip);
        setWidgetColour(Text7, QPalette::Base, tip);
    } else {
        Text7->clear();
        Text7->setEnabled(false);
        setWidgetColour(Label7, QPalette::WindowText, Qt::black);
        setWidgetColour(Text7, QPalette::Base, palette().color(QPalette::Mid));
    }
}

void Form1::Combo5_LostFocus()
{
    Text8->setText(slashDate(Combo5->currentText()));
    Text10->clear();
    Combo5->hide();
    Text8->show();
    Text8->setEnabled(false);
    const QStringList despatch =
        despatchDateList(Clock::instance().now().date(), listPosition(Combo5), Combo5->count());
    Combo6->clear();
    Combo6->addItems(despatch);
    Combo6->setCurrentIndex(-1);  // no date is chosen until the user picks one
}

void Form1::Combo6_LostFocus()
{
    Text10->setText(slashDate(Combo6->currentText()));
    Combo6->hide();
    Text10->show();
    Text10->setEnabled(false);
}

} // namespace kuvela
