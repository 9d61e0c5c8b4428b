#pragma once
// A button that becomes usable gets a pastel background by what it does; one made
// unusable is disabled and white.
#include <QColor>

class QWidget;

namespace kuvela {

enum class ButtonKind {
    Import,  // import, download, send: light green
    Save,    // save, PDF: light cyan
    Delete,  // light red
    Open,    // light magenta
    Mail,    // light yellow
    Extra,   // extra operations: cyan
};

QColor buttonColour(ButtonKind kind);
void setBackColour(QWidget* widget, const QColor& colour);
QColor backColour(const QWidget* widget);
// Enabled with its kind's colour.
void makeUsable(QWidget* button, ButtonKind kind);
// Disabled and white.
void makeUnusable(QWidget* button);

} // namespace kuvela
