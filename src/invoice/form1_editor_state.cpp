#include "invoice/form1_editor_state.h"

#include "invoice/form2.h"
#include "shell/twips.h"

#include <QColor>
#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

namespace kuvela {

namespace {
Qt::Alignment qtAlign(invoice::ColumnAlign a)
{
    switch (a) {
    case invoice::ColumnAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case invoice::ColumnAlign::Centre: return Qt::AlignHCenter | Qt::AlignVCenter;
    case invoice::ColumnAlign::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

QColor fromBgr(long bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}
} // namespace

void showLineGrid(Form1& form)
{
    const invoice::LineGrid& g = lineGrid(form);
    QTreeWidget* view = form.ListView1;
    view->clear();
    const int n = g.columnCount();
    view->setColumnCount(n);
    QStringList titles;
    for (const auto& c : g.columns)
        titles << c.title;
    view->setHeaderLabels(titles);
    for (int c = 0; c < n; ++c) {
        view->headerItem()->setTextAlignment(c, qtAlign(g.columns[size_t(c)].align));
        // The layout's width at least, and never so narrow that the title is cut off.
        const int width = std::max(twipsToPixels(g.columns[size_t(c)].widthTwips), view->header()->sectionSizeHint(c));
        view->header()->resizeSection(c, width);
    }
    const QColor colour = fromBgr(g.textColour);
    for (const QStringList& row : g.rows) {
        auto* item = new QTreeWidgetItem(view);
        for (int c = 0; c < n; ++c) {
            item->setText(c, c < row.size() ? row[c] : QString());
            item->setTextAlignment(c, qtAlign(g.columns[size_t(c)].align));
            item->setForeground(c, colour);
        }
    }
}

void Form1::startNewInvoice()
{
    lineGrid(*this).rows.clear();
    showLineGrid(*this);
    // References typed for one company's return invoice never reach another's.
    form2(*this).emptyReferences();
}

} // namespace kuvela
