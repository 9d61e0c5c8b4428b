// The main window's totals, amount in words and the opening of the line dialog:
// the controls are read into plain data, the plain functions decide, the results
// are written back.
#include "invoice/amount_words.h"
#include "invoice/form1_editor_state.h"
#include "invoice/form1_editor_type.h"
#include "invoice/form7.h"
#include "invoice/totals.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTreeWidget>

namespace kuvela {

invoice::TotalsSettings totalsSettingsOf(const Form1& f)
{
    invoice::TotalsSettings s;
    s.kind = invoiceKindOf(f);
    s.dc = f.dc;
    s.userNot1 = f.userNot1;
    s.userNot2 = f.userNot2;
    s.userNot3 = f.userNot3;
    s.prmMatStr = f.prmMatStr;
    s.prmYazStr = f.prmYazStr;
    return s;
}

void Form1::yekunal()
{
    invoice::LineGrid& grid = lineGrid(*this);
    const invoice::TotalsResult result = invoice::yekunal(grid, totalsSettingsOf(*this));
    if (!result.error)
        grid.rows = result.lines;
    showLineGrid(*this);

    ListView2->clear();
    for (const invoice::InvoiceTotalsRow& row : result.rows) {
        auto* item = new QTreeWidgetItem(ListView2);
        item->setText(0, QString::number(row.ordinal));
        item->setText(1, row.label);
        item->setText(2, row.amount);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    }
    // Labels of extra taxes are long; none is cut off.
    ListView2->resizeColumnToContents(0);
    ListView2->resizeColumnToContents(1);
    ekmat1 = result.ekmat1;
    ekmat8 = result.ekmat8;
    ekmat18 = result.ekmat18;
    ekmat10 = result.ekmat10;
    ekmat20 = result.ekmat20;
    kdvMatStr = result.kdvMatStr;
    yazTopStr = result.yazTopStr;
    checkTotal->setText(result.checkTotal);
    Text6->setPlainText(result.text6);
    // A cell that is no number leaves no total an upload could compare with.
    if (result.error)
        setPanel(7, result.error->message(grid));
}

QString Form1::Cevir(QString SayiStr)
{
    return invoice::Cevir(std::move(SayiStr));
}

QString Form1::YAZIYTL(const QString& Para)
{
    return invoice::YAZIYTL(Para);
}

void Form1::Command7_Click()
{
    beginRoad();
    Form7::showFor(*this);
}

} // namespace kuvela
