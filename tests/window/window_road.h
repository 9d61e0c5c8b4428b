#pragma once
// The README's roads as a user walks them on the shown main window: every step is a
// mouse click or key strokes on the controls, nothing is set behind the window's back.
#include "invoice/form7.h"
#include "shell/form1.h"
#include "support/real_input.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>

namespace kuvela::test::road {

// The demo program folder as the build made it, copied into the program folder.
void copyDemoFolder(const std::filesystem::path& home);
// The fake portal's scenario of the demo (scripts/try-portal.sh serves the same).
nlohmann::json demoScenario();

// The login panel: name, password, "Giriş".
void logIn(Form1& w, const QString& user, const QString& password);
// The seller from "Firmalarım"; the next click elsewhere loads it.
void pickCompany(Form1& w, const QString& company);
void pickType(Form1& w, const QString& type);
// The buyer from the "Alıcı" drop-down; leaving it (the next click) fills the buyer.
void pickBuyer(Form1& w, const QString& buyer);

// One line as typed into the line-entry dialog; empty members stay as the dialog has them.
struct Line {
    QString name, quantity, unit, price, vat;
};
// "Faturaya Ürün/Hizmet Ekle", the line typed in, "FATURAYA EKLE"; the dialog's panel 2 afterwards.
QString addLine(Form1& w, const Line& line);

// "e-Arşiv"; once the draft waits, `whileWaiting` runs and "GÜVENLİ ÇIKIŞ" is clicked.
// False when the draft never waited.
bool uploadAndQuit(Form1& w, const std::function<void()>& whileWaiting = {});
// The same, then the upload panel's "X".
bool uploadAndLeave(Form1& w, const std::function<void()>& whileWaiting = {});

// The window's own focus widget, the one it gives the keyboard to when it comes to the front:
// its object name, "(none)" without one.
QString focusInWindow(const QWidget& window);
// A click on the window, as a user brings it back to the front after another window or box.
void bringToFront(QWidget& window);

} // namespace kuvela::test::road
