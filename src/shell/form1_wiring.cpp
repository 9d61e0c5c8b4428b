// Which handler runs on which event. Setting a value from code runs the same
// handler as the user's change, as the window's roads expect.
#include "shell/folder_list.h"
#include "shell/form1.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QScreen>
#include <QTreeWidget>

namespace kuvela {

#define KUVELA_CLICK(control) connect(control, &QAbstractButton::clicked, this, [this] { control##_Click(); })
// A check box runs its handler on every change of its value.
#define KUVELA_CHECK(control) connect(control, &QAbstractButton::toggled, this, [this] { control##_Click(); })
// An option runs its handler when it becomes the chosen one.
#define KUVELA_OPTION(control) \
    connect(control, &QAbstractButton::toggled, this, [this](bool on) { if (on) control##_Click(); })
#define KUVELA_TEXT(control) connect(control, &QLineEdit::textChanged, this, [this] { control##_Change(); })
#define KUVELA_MENU(entry) connect(entry, &QAction::triggered, this, [this] { entry##_Click(); })

void Form1::wireSignals()
{
    KUVELA_MENU(faturaindir);
    KUVELA_MENU(parameters);
    KUVELA_MENU(abouth);
    KUVELA_MENU(help);
    KUVELA_MENU(anouncements);
    KUVELA_MENU(quit);

    KUVELA_CLICK(Command1);
    KUVELA_CLICK(Command2);
    KUVELA_CLICK(Command3);
    KUVELA_CLICK(Command4);
    KUVELA_CLICK(Command5);
    KUVELA_CLICK(Command6);
    KUVELA_CLICK(Command7);
    KUVELA_CLICK(Command8);
    KUVELA_CLICK(Command9);
    KUVELA_CLICK(Command10);
    KUVELA_CLICK(Command11);
    KUVELA_CLICK(Command12);
    KUVELA_CLICK(Command13);
    KUVELA_CLICK(Command14);
    KUVELA_CLICK(Command15);
    KUVELA_CLICK(Command16);
    KUVELA_CLICK(Command17);
    KUVELA_CLICK(Command18);
    KUVELA_CLICK(Command19);
    KUVELA_CLICK(Command20);
    KUVELA_CLICK(Command21);
    KUVELA_CLICK(Command22);
    KUVELA_CLICK(Command23);
    KUVELA_CLICK(Command24);
    KUVELA_CLICK(Command25);
    KUVELA_CLICK(Command26);
    KUVELA_CLICK(Command27);
    KUVELA_CLICK(Command28);
    KUVELA_CLICK(Command29);
    KUVELA_CLICK(Command30);
    KUVELA_CLICK(Command31);
    KUVELA_CLICK(Command32);
    KUVELA_CLICK(Command34);
    KUVELA_CLICK(Command35);
    KUVELA_CLICK(Command36);
    KUVELA_CLICK(Command37);
    KUVELA_CLICK(Command38);
    KUVELA_CLICK(Command39);
    KUVELA_CLICK(Command40);
    KUVELA_CLICK(Command41);
    KUVELA_CLICK(Command42);
    KUVELA_CLICK(Command43);
    KUVELA_CLICK(Command50);
    KUVELA_CLICK(Command51);
    KUVELA_CLICK(Command53);
    KUVELA_CLICK(Command55);

    KUVELA_CHECK(Check2);
    KUVELA_CHECK(Check4);
    KUVELA_CHECK(Check5);
    KUVELA_CHECK(Check6);

    KUVELA_OPTION(Option1);
    KUVELA_OPTION(Option2);
    KUVELA_OPTION(Option3);
    KUVELA_OPTION(Option4);
    KUVELA_OPTION(Option5);
    KUVELA_OPTION(Option6);
    KUVELA_OPTION(Option7);
    KUVELA_OPTION(prm1);
    KUVELA_OPTION(prm2);
    KUVELA_OPTION(prm3);

    KUVELA_TEXT(Text11);
    KUVELA_TEXT(Text19);
    KUVELA_TEXT(Text20);
    KUVELA_TEXT(Text25);
    KUVELA_TEXT(Text26);
    connect(Text28, &QPlainTextEdit::textChanged, this, [this] { Text28_Change(); });
    connect(Combo4, &QComboBox::editTextChanged, this, [this] { Combo4_Change(); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });

    connect(Dir1, &FolderList::pathChanged, this, [this] { Dir1_Change(); });
    connect(Dir1, &QListWidget::itemClicked, this, [this] { Dir1_Click(); });
    connect(File1, &QListWidget::itemClicked, this, [this] { File1_Click(); });
    connect(File1, &QListWidget::itemDoubleClicked, this, [this] { File1_DblClick(); });
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    connect(List1, &QListWidget::itemDoubleClicked, this, [this] { List1_DblClick(); });
    connect(List3, &QListWidget::itemDoubleClicked, this, [this] { List3_DblClick(); });
    connect(List5, &QListWidget::itemDoubleClicked, this, [this] { List5_DblClick(); });
    connect(List7, &QListWidget::itemChanged, this, [this] { List7_ItemCheck(); });
    connect(ListView1, &QTreeWidget::itemClicked, this, [this] { ListView1_ItemClick(); });

    for (QWidget* w : std::initializer_list<QWidget*>{Combo1, Combo2, Combo3, Combo4, Combo5, Combo6, Label1, Label8, Label9,
                                                      Label10, Label14, Label19, Label26, Frame20, Frame23, Frame26, workArea_})
        w->installEventFilter(this);
}

#undef KUVELA_CLICK
#undef KUVELA_CHECK
#undef KUVELA_OPTION
#undef KUVELA_TEXT
#undef KUVELA_MENU

namespace {

// The original's mouse arguments: buttons 1 left, 2 right, 4 middle; shift 1, ctrl 2, alt 4.
int vbButtons(Qt::MouseButtons b)
{
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

int vbShift(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

float pixelsToTwips(const QWidget* w, double px)
{
    const QScreen* s = w->screen();
    const double dpi = s ? s->logicalDotsPerInch() : 96.0;
    return float(px * 1440.0 / dpi);
}

// A click that reaches the work area from a control or frame under the pointer, one that
// ignored it or a disabled one, is not a click on the window's own ground; the plain
// boxes that only lay the controls out are.
bool onBareGround(const QWidget* area, const QPoint& at)
{
    for (const QWidget* w = area->childAt(at); w && w != area; w = w->parentWidget())
        if (w->metaObject() != &QWidget::staticMetaObject)
            return false;
    return true;
}

} // namespace

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::FocusOut: {
        // Opening the combo's own list or switching windows is not leaving the box.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
            break;
        // Nor is a box the program disabled under the focus.
        if (!static_cast<QWidget*>(watched)->isEnabled())
            break;
        // The opened list takes the focus into its own popup window after the popup reason.
        if (const QWidget* now = QApplication::focusWidget(); now && now->window()->windowType() == Qt::Popup)
            break;
        if (watched == Combo1) Combo1_LostFocus();
        else if (watched == Combo2) Combo2_LostFocus();
        else if (watched == Combo3) Combo3_LostFocus();
        else if (watched == Combo4) Combo4_LostFocus();
        else if (watched == Combo5) Combo5_LostFocus();
        else if (watched == Combo6) Combo6_LostFocus();
        break;
    }
    case QEvent::MouseButtonPress:
        // Labels take the press, so that the release (the click) comes back to them.
        if (qobject_cast<QLabel*>(watched))
            return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        break;
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(event);
        auto* w = static_cast<QWidget*>(watched);
        if (me->button() != Qt::LeftButton || !w->rect().contains(me->position().toPoint()))
            break;
        if (watched == Label1) Label1_Click();
        else if (watched == Label8) Label8_Click();
        else if (watched == Label9) Label9_Click();
        else if (watched == Label10) Label10_Click();
        else if (watched == Label14) Label14_Click();
        else if (watched == Label19) Label19_Click();
        else if (watched == Label26) Label26_Click();
        else if (watched == workArea_ && onBareGround(workArea_, me->position().toPoint())) Form_Click();
        break;
    }
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(event);
        auto* w = static_cast<QWidget*>(watched);
        const int button = vbButtons(me->buttons());
        const int shift = vbShift(me->modifiers());
        const float x = pixelsToTwips(w, me->position().x());
        const float y = pixelsToTwips(w, me->position().y());
        if (watched == Frame20) Frame20_MouseMove(button, shift, x, y);
        else if (watched == Frame23) Frame23_MouseMove(button, shift, x, y);
        else if (watched == Frame26) Frame26_MouseMove(button, shift, x, y);
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool Form1::focusNextPrevChild(bool next)
{
    QWidget* holder = focusWidget();
    const bool userMove = !holder || (holder->isVisibleTo(this) && holder->isEnabled());
    if (userMove)
        return QMainWindow::focusNextPrevChild(next);
    const auto reloads = [this](const QWidget* w) {
        return w == Combo3 || w == Combo4 || Combo3->isAncestorOf(w) || Combo4->isAncestorOf(w);
    };
    const auto step = [next](QWidget* w) { return next ? w->nextInFocusChain() : w->previousInFocusChain(); };
    for (QWidget* w = step(holder); w && w != holder; w = step(w)) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(this) && w->isEnabled() && !reloads(w)
            && w->window() == this && !w->focusProxy()) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    holder->clearFocus();
    return true;
}

void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    Form_Unload();
}

} // namespace kuvela
