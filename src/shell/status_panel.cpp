#include "shell/status_panel.h"

#include <QPainter>
#include <QStyle>

namespace kuvela {

StatusPanel::StatusPanel(const QString& text, QWidget* parent)
    : QLabel(parent)
{
    setPanelText(text);
}

void StatusPanel::setPanelText(const QString& text)
{
    setText(text);
    setToolTip(text);
}

QString StatusPanel::shownText() const
{
    const int room = contentsRect().width() - 2 * margin();
    return fontMetrics().elidedText(text(), Qt::ElideRight, std::max(room, 0));
}

QSize StatusPanel::minimumSizeHint() const
{
    // A panel may shrink to a few characters; the message must not set the window's width.
    const QSize full = QLabel::minimumSizeHint();
    const QMargins m = contentsMargins();
    const int few = fontMetrics().horizontalAdvance(QStringLiteral("W…")) + 2 * margin() + m.left() + m.right();
    return {std::min(full.width(), few), full.height()};
}

void StatusPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    style()->drawItemText(&painter, room, int(QStyle::visualAlignment(layoutDirection(), alignment())), palette(),
                          isEnabled(), shownText(), foregroundRole());
}

} // namespace kuvela
