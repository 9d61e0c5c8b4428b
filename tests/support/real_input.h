#pragma once
// What a user does with mouse and keyboard, sent as real input events to a shown
// window: the focus moves, popups open and close, and the handlers run as they do for a user.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace kuvela::test {

// Shows the window and waits until it has the keyboard.
inline bool showActive(QWidget& window)
{
    window.show();
    window.raise();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

inline void click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

// Types the text key by key; Turkish letters come as the keyboard gives them, as text.
inline void typeKeys(QWidget* w, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(w, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Clicks into the box and types the text.
inline void typeInto(QWidget* w, const QString& text)
{
    click(w);
    typeKeys(w, text);
}

// Opens the combo's list and clicks the entry; false when the list does not hold it.
inline bool pickFromCombo(QComboBox* box, const QString& entry)
{
    QWidget* face = box->isEditable() ? static_cast<QWidget*>(box->lineEdit()) : box;
    click(face);
    const int index = box->findText(entry, Qt::MatchExactly);
    if (index < 0)
        return false;
    QAbstractItemView* list = box->view();
    // A list that takes only its own entries opens on the click itself; its entry takes a
    // click once that one can no longer count as a double click.
    if (list->isVisible())
        QTest::qWait(QApplication::doubleClickInterval() + 50);
    else
        box->showPopup();
    if (!QTest::qWaitForWindowExposed(list->window()))
        return false;
    const QModelIndex item = list->model()->index(index, box->modelColumn(), list->rootIndex());
    list->scrollTo(item);
    const QPoint at(list->viewport()->width() / 2, list->visualRect(item).center().y());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::qWait(20);
    return box->currentText() == entry;
}

inline void doubleClickRow(QListWidget* list, int row)
{
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

inline QString focusName()
{
    const QWidget* w = QApplication::focusWidget();
    return w ? w->objectName() : QStringLiteral("(none)");
}

} // namespace kuvela::test
