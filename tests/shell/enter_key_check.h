#pragma once
// Enter pressed in every box of a shown dialog, as the keyboard sends it: no push
// button may be a default, and none may be clicked by it.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <gtest/gtest.h>

namespace kuvela::test {

// The boxes' texts stay for the caller to check; the names of clicked buttons come back.
inline QStringList buttonsClickedByEnter(QWidget& dialog)
{
    dialog.show();
    dialog.activateWindow();
    QStringList clicked;
    std::vector<QMetaObject::Connection> watches;
    for (QPushButton* b : dialog.findChildren<QPushButton*>()) {
        EXPECT_FALSE(b->autoDefault()) << dialog.objectName().toStdString() << "." << b->objectName().toStdString();
        EXPECT_FALSE(b->isDefault()) << dialog.objectName().toStdString() << "." << b->objectName().toStdString();
        watches.push_back(QObject::connect(b, &QAbstractButton::clicked, [&clicked, b] { clicked << b->objectName(); }));
    }
    for (QLineEdit* box : dialog.findChildren<QLineEdit*>()) {
        if (!box->isVisible() || !box->isEnabled())
            continue;
        box->setFocus(Qt::TabFocusReason);
        for (const auto& [key, modifiers] : {std::pair{Qt::Key_Return, Qt::NoModifier},
                                             std::pair{Qt::Key_Enter, Qt::KeypadModifier}}) {
            QKeyEvent press(QEvent::KeyPress, key, modifiers, QStringLiteral("\r"));
            QApplication::sendEvent(box, &press);
            QKeyEvent release(QEvent::KeyRelease, key, modifiers, QStringLiteral("\r"));
            QApplication::sendEvent(box, &release);
        }
    }
    for (const auto& w : watches)
        QObject::disconnect(w);
    return clicked;
}

} // namespace kuvela::test
