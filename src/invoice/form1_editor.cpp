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

void Form1::yekunal()
{
    invoice::LineGrid& grid = lineGrid(*this);
    invoice::TotalsSettings settings;
    settings.typePosition = invoiceTypePosition(*this);
    settings.dc = dc;
    settings.userNot1 = userNot1;
    settings.userNot2 = userNot2;
    settings.userNot3 = userNot3;
    settings.prmMatStr = prmMatStr;
    settings.prmYazStr = prmYazStr;

    const invoice::TotalsResult result = invoice::yekunal(grid, settings);
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
