// The five views of the file pane and the opening of the extra-operations panel.
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "shell/form1.h"
#include "shell/form1_filepane.h"
#include "shell/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <utility>

namespace kuvela {

namespace {

std::pair<QRadioButton*, PaneView> viewOptions(const Form1& f, int i)
{
    switch (i) {
    case 0: return {f.Option3, PaneView::Proforma};
    case 1: return {f.Option4, PaneView::SalesInvoices};
    case 2: return {f.Option5, PaneView::PurchaseInvoices};
    case 3: return {f.Option6, PaneView::Reports};
    default: return {f.Option7, PaneView::SalesPdf};
    }
}
constexpr int kViewCount = 5;

void showView(Form1& f, PaneView view)
{
    QRadioButton* own = nullptr;
    for (int i = 0; i < kViewCount; ++i)
        if (viewOptions(f, i).second == view)
            own = viewOptions(f, i).first;
    // A click sets one view of the group; run as a procedure, the options stay as they are.
    if (own->isChecked())
        for (int i = 0; i < kViewCount; ++i)
            if (viewOptions(f, i).first != own)
                viewOptions(f, i).first->setChecked(false);

    const ViewInput in{view, programFolder(), f.Combo4->currentText(), f.Combo1->currentText(), f.Check5->isChecked()};
    const ViewResult r = openPaneView(in);
    if (r.folder.empty()) {
        own->setChecked(false);  // the pane still shows the folder it showed
        msgBox(r.message, MsgIcon::Exclamation);
        return;
    }
    if (r.clearStatus)
        f.beginRoad();
    if (r.resetBulk) {
        f.Check5->setChecked(false);
        f.Check5_Click();
    }
    f.setDir1Path(fromPath(r.folder));
    for (int i = 0; i < kViewCount; ++i) {
        const auto [option, optionView] = viewOptions(f, i);
        setPaneBackColour(option, viewOptionColor(optionView, view));
    }
    if (r.highlightFrame16)
        setCaptionColour(f.Frame16, paneColour(ColorKind::SystemHighlight, f.Frame16));
    if (r.highlightFrame17)
        setCaptionColour(f.Frame17, paneColour(ColorKind::SystemHighlight, f.Frame17));
    applyPaneButtons(f, r.buttons);
}

// Items added to an editable list leave its box's text as it is.
void fillOnce(QComboBox* box, int first, int last, int width)
{
    if (box->count() > 0)
        return;
    const QSignalBlocker quiet(box);
    const QString text = box->currentText();
    for (int n = first; n <= last; ++n)
        box->addItem(QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0')));
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

} // namespace

void Form1::Option3_Click() { showView(*this, PaneView::Proforma); }
void Form1::Option4_Click() { showView(*this, PaneView::SalesInvoices); }
void Form1::Option5_Click() { showView(*this, PaneView::PurchaseInvoices); }
void Form1::Option6_Click() { showView(*this, PaneView::Reports); }
void Form1::Option7_Click() { showView(*this, PaneView::SalesPdf); }

void Form1::Command26_Click()
{
    beginRoad();
    Frame20->move(Frame20->x(), twipsToPixels(500));
    Frame20->show();
    Frame20->raise();
    // Filled once: a second press would list every month twice.
    fillOnce(Combo7, 1, 12, 2);
    fillOnce(Combo8, 2019, 2030, 4);
    Label37->setText(Label22->text());
    Command37->show();
    Command38->setEnabled(!Option6->isChecked() && !Option7->isChecked());
}

} // namespace kuvela
