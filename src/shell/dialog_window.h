#pragma once
// What the editor's dialogs share: their own status bar, whose panel 2 is the
// dialog's message line, and their making as the main window's one instance.
#include "shell/form1.h"

#include <QStatusBar>
#include <vector>

class QLabel;

namespace kuvela {

class DialogStatusBar : public QStatusBar {
public:
    explicit DialogStatusBar(QWidget* parent, int panels = 2);
    QLabel* panel(int n) const;  // from 1
    void setPanel(int n, const QString& text);
    QString panelText(int n) const;

private:
    std::vector<QLabel*> panels_;
};

// Controls carry the names the window's roads know them by.
template <class W>
W* named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// Enter in a box of a dialog presses no button: none is a default, not even one
// that has the focus.
void withoutDefaultButtons(QWidget& dialog);

enum class LoadOnCreate { No, Yes };

// The main window's one dialog of type D, made on first use; a dialog that other
// roads reach before it is shown runs its Form_Load when made.
template <class D>
D& dialogOf(Form1& main, LoadOnCreate load)
{
    if (auto* existing = main.findChild<D*>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    auto* made = new D(main);
    withoutDefaultButtons(*made);
    if (load == LoadOnCreate::Yes)
        made->Form_Load();
    return *made;
}

} // namespace kuvela
