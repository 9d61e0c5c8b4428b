#include "shell/dialog_window.h"

#include <QLabel>
#include <QPushButton>

namespace kuvela {

DialogStatusBar::DialogStatusBar(QWidget* parent, int panels)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("StatusBar1"));
    setSizeGripEnabled(false);
    for (int n = 1; n <= panels; ++n) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("panel%1").arg(n));
        // Panel 1 is a narrow margin; the message line takes the rest.
        if (n == 1)
            label->setFixedWidth(8);
        addWidget(label, n == 2 ? 1 : 0);
        panels_.push_back(label);
    }
}

QLabel* DialogStatusBar::panel(int n) const
{
    Q_ASSERT(n >= 1 && n <= int(panels_.size()));
    return panels_.at(size_t(n - 1));
}

void DialogStatusBar::setPanel(int n, const QString& text)
{
    panel(n)->setText(text);
}

QString DialogStatusBar::panelText(int n) const
{
    return panel(n)->text();
}

void withoutDefaultButtons(QWidget& dialog)
{
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
}

} // namespace kuvela
