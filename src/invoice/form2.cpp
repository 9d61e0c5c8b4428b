#include "invoice/form2.h"

#include "shell/dialog_window.h"
#include "platform/clock.h"
#include "shell/button_kind.h"
#include "shell/form1.h"
#include "shell/twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kuvela {

namespace {

void fill(QComboBox* combo, const QStringList& items, const QString& shown)
{
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(int(items.indexOf(shown)));
}

} // namespace

Form2::Form2(Form1& main)
    : QWidget(&main, Qt::Window)
    , main_(main)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Kuvela-Alış Fatura Bilgi Girişi"));

    Label3 = named(new QLabel(QStringLiteral("İADE EDİLECEK ÜRÜN VEYA HİZMET'İN ALIŞ FATURASINA İLİŞKİN BİLGİLER"), this),
                   "Label3");
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    Label3->setWordWrap(true);
    // Made in their order on the screen (day, month, year), which is the Tab order.
    Combo3 = named(new QComboBox(this), "Combo3");
    Combo2 = named(new QComboBox(this), "Combo2");
    Combo1 = named(new QComboBox(this), "Combo1");
    Label1 = named(new QLabel(QStringLiteral("Fatura Seri No"), this), "Label1");
    Label1->setToolTip(QStringLiteral("tıklayın..."));
    Text1 = named(new QLineEdit(this), "Text1");
    Text1->setEnabled(false);
    Label2 = named(new QLabel(QStringLiteral("Fatura Tarihi"), this), "Label2");
    Text2 = named(new QLineEdit(this), "Text2");
    Text2->setReadOnly(true);
    aList1 = named(new QListWidget(this), "aList1");
    Command1 = named(new QPushButton(QStringLiteral("Ekle"), this), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("Çıkar"), this), "Command2");
    Command3 = named(new QPushButton(QStringLiteral("Tamam"), this), "Command3");
    for (QPushButton* b : {Command1, Command2, Command3})
        makeUnusable(b);
    StatusBar1 = new DialogStatusBar(this);

    auto* grid = new QGridLayout;
    grid->addWidget(Label2, 0, 0);
    auto* dates = new QHBoxLayout;
    dates->addWidget(Combo3);
    dates->addWidget(Combo2);
    dates->addWidget(Combo1);
    dates->addWidget(Text2, 1);
    grid->addLayout(dates, 0, 1);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Text1, 1, 1);
    grid->addWidget(Command1, 1, 2);
    grid->addWidget(aList1, 2, 0, 3, 2);
    grid->addWidget(Command2, 2, 2);
    grid->addWidget(Command3, 4, 2, Qt::AlignBottom);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Label3);
    column->addLayout(grid, 1);
    column->addWidget(StatusBar1);
    resize(twipsToPixels(7600), twipsToPixels(4800));

    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { Combo1_Click(); });
    connect(Combo2, &QComboBox::currentIndexChanged, this, [this] { Combo2_Click(); });
    // A day picked from the list unlocks the serial as leaving the list does.
    connect(Combo3, &QComboBox::activated, this, [this] { Combo3_LostFocus(); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(aList1, &QListWidget::itemClicked, this, [this] { aList1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    for (QWidget* w : {static_cast<QWidget*>(Combo2), static_cast<QWidget*>(Combo3), static_cast<QWidget*>(Label1)})
        w->installEventFilter(this);
}

bool Form2::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            break;
        if (watched == Combo2 && event->type() == QEvent::FocusIn)
            Combo2_Click();
        else if (watched == Combo3 && event->type() == QEvent::FocusOut)
            Combo3_LostFocus();
        break;
    }
    case QEvent::MouseButtonPress:
        if (watched == Label1)
            return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        break;
    case QEvent::MouseButtonRelease:
        if (watched == Label1 && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            Label1_Click();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

QString Form2::panelText(int n) const
{
    return StatusBar1->panelText(n);
}

void Form2::Form_Load()
{
    const invoice::DatePickers p = invoice::formLoad(Clock::instance().now().date());
    StatusBar1->setPanel(2, p.panel2);
    fill(Combo1, p.years, p.year);
    fill(Combo2, p.months, p.month);
    fill(Combo3, p.days, QString());
    loaded_ = true;
}

void Form2::Form_Unload()
{
    refs_.clear();
    showEntries();
    main_.Label20->setText(QStringLiteral("0"));
    // The next opening starts as a fresh window.
    {
        const QSignalBlocker quiet(Text1);
        Text1->clear();
    }
    Text1->setEnabled(false);
    Text1->setPalette(QPalette());
    Text2->clear();
    for (QPushButton* b : {Command1, Command2, Command3})
        makeUnusable(b);
    StatusBar1->setPanel(2, QString());
    loaded_ = false;
}

void Form2::showDialog()
{
    if (!loaded_)
        Form_Load();
    show();
    raise();
    activateWindow();
}

void Form2::closeEvent(QCloseEvent* event)
{
    main_.ListView1->setFocus(Qt::OtherFocusReason);
    Form_Unload();
    event->accept();
}

void Form2::setDays(const QStringList& days, const QString& chosen)
{
    fill(Combo3, days, chosen);
}

void Form2::Combo1_Click()
{
    const invoice::YearChange c = invoice::yearChange(Combo2->currentText(), Combo1->currentText(), Combo3->currentText());
    setDays(c.days, c.day);
}

void Form2::Combo2_Click()
{
    setDays(invoice::dayList(Combo2->currentText(), Combo1->currentText()), QString());
}

void Form2::Combo3_LostFocus()
{
    Text1->setEnabled(true);
    QPalette tip = Text1->palette();
    tip.setColor(QPalette::Base, palette().color(QPalette::ToolTipBase));
    Text1->setPalette(tip);
    StatusBar1->setPanel(2, QString());
}

void Form2::Label1_Click()
{
    Text1->setText(invoice::serialTemplate(Combo1->currentText()));
}

void Form2::Text1_Change()
{
    const invoice::SerialChange c = invoice::text1Change(Text1->text());
    if (c.text != Text1->text()) {
        const QSignalBlocker quiet(Text1);
        Text1->setText(c.text);
    }
    Text1->end(false);
    StatusBar1->setPanel(2, c.panel2);
    makeUsable(Command1, ButtonKind::Import);
}

void Form2::applyCount(const invoice::ReferenceResult& r)
{
    StatusBar1->setPanel(2, r.panel2);
    if (!r.label20.isEmpty())
        main_.Label20->setText(r.label20);
}

void Form2::showEntries()
{
    aList1->clear();
    aList1->addItems(refs_.aList1());
}

void Form2::Command1_Click()
{
    StatusBar1->setPanel(2, QString());
    const invoice::ReferenceResult r =
        refs_.add(Text1->text(), Combo3->currentText(), Combo2->currentText(), Combo1->currentText());
    if (!r.text2.isEmpty())
        Text2->setText(r.text2);
    if (r.changed) {
        showEntries();
        main_.Text100->setText(r.text100);
        main_.Text200->setText(r.text200);
        Text1->clear();
        Text2->clear();
        makeUsable(Command3, ButtonKind::Save);
    }
    // After the boxes are emptied: emptying the serial clears the message line.
    applyCount(r);
}

void Form2::aList1_Click()
{
    Text1->setText(refs_.serialOf(aList1->currentRow()));
    makeUsable(Command2, ButtonKind::Delete);
}

void Form2::Command2_Click()
{
    const invoice::ReferenceResult r = refs_.remove(aList1->currentRow());
    showEntries();
    Text1->clear();
    applyCount(r);
    makeUnusable(Command2);
}

void Form2::Command3_Click()
{
    const invoice::ReferenceResult r = refs_.tamam();
    Text1->clear();
    applyCount(r);
    // The main window gets the keyboard back on the lines, not on what it held before.
    main_.ListView1->setFocus(Qt::OtherFocusReason);
    hide();
}

void Form2::emptyReferences()
{
    refs_.clear();
    showEntries();
    main_.Label20->setText(QStringLiteral("0"));
}

Form2& form2(Form1& main)
{
    return dialogOf<Form2>(main, LoadOnCreate::Yes);
}

} // namespace kuvela
