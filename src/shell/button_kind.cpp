#include "shell/button_kind.h"

#include <QPalette>
#include <QWidget>

namespace kuvela {

QColor buttonColour(ButtonKind kind)
{
    switch (kind) {
    case ButtonKind::Import: return {192, 255, 192};
    case ButtonKind::Save: return {192, 255, 255};
    case ButtonKind::Delete: return {255, 192, 192};
    case ButtonKind::Open: return {255, 192, 255};
    case ButtonKind::Mail: return {255, 255, 192};
    case ButtonKind::Extra: return {0, 255, 255};
    }
    return Qt::white;
}

void setBackColour(QWidget* widget, const QColor& colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Button, colour);
    p.setColor(QPalette::Base, colour);
    widget->setPalette(p);
}

QColor backColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::Button);
}

void makeUsable(QWidget* button, ButtonKind kind)
{
    button->setEnabled(true);
    setBackColour(button, buttonColour(kind));
}

void makeUnusable(QWidget* button)
{
    button->setEnabled(false);
    setBackColour(button, Qt::white);
}

} // namespace kuvela
