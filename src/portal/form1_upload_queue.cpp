// The upload log's handlers on the main window: column layout, the log box kept at its
// end, the difference limit from its scroll bar, and the two floating panels dragged.
#include "portal/form1_portal_state.h"
#include "shell/twips.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTreeWidget>

namespace kuvela {

namespace {

void drag(QWidget* panel, portal::PanelDrag& state, int button, float x, float y)
{
    if (const auto by = state.mouseMove(button, x, y))
        panel->move(panel->x() + twipsToPixels(qRound(by->x())), panel->y() + twipsToPixels(qRound(by->y())));
}

} // namespace

void Form1::setHeader()
{
    const auto& columns = portal::queueColumns();
    QStringList titles;
    for (const portal::QueueColumn& c : columns)
        titles << c.title;
    ListView3->setHeaderLabels(titles);
    for (int i = 0; i < int(columns.size()); ++i) {
        ListView3->headerItem()->setTextAlignment(i, columns[size_t(i)].align);
        for (int r = 0; r < ListView3->topLevelItemCount(); ++r)
            ListView3->topLevelItem(r)->setTextAlignment(i, columns[size_t(i)].align);
    }
    AutosizeColumns(ListView3);
}

void Form1::AutosizeColumns(QTreeWidget* listView)
{
    // Each column as wide as the wider of its title and its longest cell.
    for (int i = 0; i < listView->columnCount(); ++i)
        listView->resizeColumnToContents(i);
}

void Form1::Text28_Change()
{
    Text28->moveCursor(QTextCursor::End);
    Text28->ensureCursorVisible();
}

void Form1::VScroll1_Change()
{
    Text29->setText(portal::limitFromScroll(VScroll1->value()));
}

void Form1::Frame23_MouseMove(int button, int, float x, float y)
{
    drag(Frame23, state<PortalState>().drag23, button, x, y);
}

void Form1::Frame26_MouseMove(int button, int, float x, float y)
{
    drag(Frame26, state<PortalState>().drag26, button, x, y);
}

} // namespace kuvela
