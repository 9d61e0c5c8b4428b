#include "invoice/form5.h"

#include "shell/dialog_window.h"
#include "invoice/form1_editor_state.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/workbook.h"
#include "shell/form1.h"
#include "shell/twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kuvela {

namespace {

constexpr int kCodeColumn = 5;  // kodDATA E: "V" and four digits
constexpr int kNameColumn = 6;  // kodDATA F

QString selectedText(const QListWidget* list)
{
    const auto picked = list->selectedItems();
    return picked.isEmpty() ? QString() : picked.first()->text();
}

void takeEntry(QListWidget* list, const QString& entry)
{
    const auto found = list->findItems(entry, Qt::MatchExactly);
    if (!found.isEmpty())
        delete list->takeItem(list->row(found.first()));
    // Nothing stays picked: a second press must not take the neighbour.
    list->clearSelection();
}

// Tax names are long: a list is never narrower than its longest entry, scroll bar
// included.
void fitToEntries(QListWidget* list)
{
    list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                          list->verticalScrollBar()->sizeHint().width());
}

} // namespace

Form5::Form5(Form1& main)
    : QWidget(&main, Qt::Window)
    , main_(main)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Kuvela-Vergi Ekle/Çıkar"));

    Label1 = named(new QLabel(QStringLiteral("                    VERGİ EKLE / ÇIKAR"), this), "Label1");
    QFont heading = Label1->font();
    heading.setBold(true);
    Label1->setFont(heading);
    Label2 = named(new QLabel(QStringLiteral("EKLENEBİLİR VERGİLER"), this), "Label2");
    Label3 = named(new QLabel(QStringLiteral("EKLENEN VERGİLER"), this), "Label3");
    List1 = named(new QListWidget(this), "List1");
    List1->setToolTip(QStringLiteral("Eklemek için çift tıklayın..."));
    List2 = named(new QListWidget(this), "List2");
    List2->setToolTip(QStringLiteral("Çıkarmak için çift tıklayın..."));
    List3 = named(new QListWidget(this), "List3");
    List3->hide();
    Command1 = named(new QPushButton(QStringLiteral(">"), this), "Command1");
    Command2 = named(new QPushButton(QStringLiteral("<"), this), "Command2");
    StatusBar1 = new DialogStatusBar(this);

    auto* grid = new QGridLayout;
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(Label3, 0, 2);
    grid->addWidget(List1, 1, 0, 2, 1);
    grid->addWidget(Command1, 1, 1, Qt::AlignBottom);
    grid->addWidget(Command2, 2, 1, Qt::AlignTop);
    grid->addWidget(List2, 1, 2, 2, 1);
    grid->setRowStretch(1, 1);
    grid->setRowStretch(2, 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addLayout(grid, 1);
    column->addWidget(List3);
    column->addWidget(StatusBar1);
    resize(twipsToPixels(8200), twipsToPixels(5400));

    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    connect(List2, &QListWidget::itemClicked, this, [this] { List2_Click(); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
    connect(List2, &QListWidget::itemDoubleClicked, this, [this] { List2_DblClick(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

QString Form5::panelText(int n) const
{
    return StatusBar1->panelText(n);
}

void Form5::Form_Load()
{
    StatusBar1->setPanel(2, QString());
    List1->clear();
    List2->clear();
    List3->clear();
    loaded_ = true;
    try {
        Workbook book = Workbook::open(programFolder() / "Data" / "DATA.xlsx");
        Sheet& codes = book.sheet(QStringLiteral("kodDATA"));
        for (int row = 2; !codes.text(row, kCodeColumn).isEmpty(); ++row)
            List1->addItem(codes.text(row, kCodeColumn) + u'-' + codes.text(row, kNameColumn));
    } catch (const WorkbookError& e) {
        List1->clear();
        StatusBar1->setPanel(2, e.message());
    }
    // The added taxes are entries of this list.
    fitToEntries(List1);
    List2->setMinimumWidth(List1->minimumWidth());
}

void Form5::Form_Unload()
{
    List1->clear();
    List2->clear();
    List3->clear();
    main_.Combo1->setEnabled(true);
    loaded_ = false;
}

void Form5::showDialog()
{
    if (!loaded_)
        Form_Load();
    show();
    raise();
    activateWindow();
}

void Form5::closeEvent(QCloseEvent* event)
{
    // The main window gets the keyboard back on the lines, where the tax columns are.
    main_.ListView1->setFocus(Qt::OtherFocusReason);
    Form_Unload();
    event->accept();
}

void Form5::List1_Click()
{
    StatusBar1->setPanel(2, QStringLiteral("Vergi seçildi..."));
}

void Form5::List2_Click()
{
    StatusBar1->setPanel(2, QStringLiteral("Vergi seçildi..."));
}

void Form5::Command1_Click()
{
    const QString entry = selectedText(List1);
    if (entry.isEmpty())
        StatusBar1->setPanel(2, QStringLiteral("Eklemek için Vergi seçin..."));
    else
        addTax(entry);
}

void Form5::Command2_Click()
{
    const QString entry = selectedText(List2);
    if (entry.isEmpty())
        StatusBar1->setPanel(2, QStringLiteral("Çıkarmak için Vergi seçin..."));
    else
        removeTax(entry);
}

void Form5::List1_DblClick()
{
    const QString entry = selectedText(List1);
    if (!entry.isEmpty())
        addTax(entry);
}

void Form5::List2_DblClick()
{
    const QString entry = selectedText(List2);
    if (!entry.isEmpty())
        removeTax(entry);
}

void Form5::copyHeaders()
{
    List3->clear();
    for (const invoice::GridColumn& c : lineGrid(main_).columns)
        List3->addItem(c.title);
}

void Form5::addTax(const QString& entry)
{
    // The invoice type stays as it is until the dialog closes: the pair belongs to its layout.
    main_.Combo1->setEnabled(false);
    invoice::LineGrid& grid = lineGrid(main_);
    const invoice::TaxColumnPair pair = invoice::TaxColumnPair::forEntry(entry);
    if (grid.hasTaxPair(pair.rate.title)) {
        msgBox(QStringLiteral("Bu vergi daha önce eklenmiş !"));
        return;
    }
    List2->addItem(entry);
    StatusBar1->setPanel(2, QStringLiteral("Vergi eklendi..."));
    grid.addTaxPair(pair);
    showLineGrid(main_);
    copyHeaders();
    takeEntry(List1, entry);
}

void Form5::removeTax(const QString& entry)
{
    invoice::LineGrid& grid = lineGrid(main_);
    // The pair goes with its cells in every row, so the totals must follow. Another
    // road may have taken it out already: then nothing was removed here.
    const bool removed = grid.removeTaxPair(invoice::TaxColumnPair::forEntry(entry).rate.title);
    List1->addItem(entry);
    copyHeaders();
    takeEntry(List2, entry);
    StatusBar1->setPanel(2, removed ? QStringLiteral("Eklenen Vergi çıkarıldı...") : QString());
    showLineGrid(main_);
    main_.yekunal();
}

Form5& form5(Form1& main)
{
    return dialogOf<Form5>(main, LoadOnCreate::No);
}

} // namespace kuvela
