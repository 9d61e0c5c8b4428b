// Members of the main window whose work is not built yet. Start-up steps and
// procedures do nothing; buttons and menus say so. Whoever builds one deletes its
// line here and defines it in the folder of its subsystem.
#include "shell/form1.h"

namespace kuvela {

// Browser driver and notice file.
void Form1::checkChromeVersiyon() {}
void Form1::indirOku() {}
void Form1::yeniVersiyonIndir() {}

// File pane.
void Form1::dirgetir() {}
void Form1::Dir1_Change() {}
void Form1::Dir1_Click() {}
void Form1::File1_DblClick() {}
void Form1::List1_Click() {}
void Form1::List1_DblClick() {}
void Form1::Command10_Click() { notYetAvailable(); }
void Form1::Command11_Click() { notYetAvailable(); }
void Form1::Option3_Click() {}
void Form1::Option4_Click() { setPanel(7, QStringLiteral("Bu işlev henüz kullanılamıyor.")); }
void Form1::Option5_Click() { setPanel(7, QStringLiteral("Bu işlev henüz kullanılamıyor.")); }
void Form1::Option6_Click() { setPanel(7, QStringLiteral("Bu işlev henüz kullanılamıyor.")); }
void Form1::Option7_Click() { setPanel(7, QStringLiteral("Bu işlev henüz kullanılamıyor.")); }
void Form1::Check2_Click() {}
void Form1::List7_ItemCheck() {}

// Side panels, about, contact.
void Form1::anouncements_Click() { notYetAvailable(); }
void Form1::Label26_Click() {}
void Form1::Command25_Click() { notYetAvailable(); }
void Form1::Command26_Click() { notYetAvailable(); }
void Form1::Frame20_MouseMove(int, int, float, float) {}
void Form1::Option1_Click() {}
void Form1::Option2_Click() {}
void Form1::Text11_Change() {}
void Form1::Form_Click() {}
void Form1::Command13_Click() { notYetAvailable(); }
void Form1::Command17_Click() { notYetAvailable(); }
void Form1::Command18_Click() { notYetAvailable(); }
void Form1::Command19_Click() { notYetAvailable(); }
void Form1::Command21_Click() { notYetAvailable(); }
void Form1::abouth_Click() { notYetAvailable(); }
void Form1::help_Click() { notYetAvailable(); }

// Invoice editor.
void Form1::temelfatura() {}
void Form1::yekunal() {}
QString Form1::Cevir(QString) { return {}; }
QString Form1::YAZIYTL(const QString&) { return {}; }
void Form1::Combo1_LostFocus() {}
void Form1::Combo2_LostFocus() {}
void Form1::Combo4_Change() {}
void Form1::Combo5_LostFocus() {}
void Form1::Combo6_LostFocus() {}
void Form1::Command3_Click() { notYetAvailable(); }
void Form1::Command4_Click() { notYetAvailable(); }
void Form1::Command5_Click() { notYetAvailable(); }
void Form1::Command7_Click() { notYetAvailable(); }
void Form1::Command8_Click() { notYetAvailable(); }
void Form1::Command9_Click() { notYetAvailable(); }
void Form1::Command32_Click() { notYetAvailable(); }
void Form1::Command41_Click() { notYetAvailable(); }
void Form1::Command53_Click() { notYetAvailable(); }
void Form1::ListView1_ItemClick() {}

// Portal upload.
void Form1::Command12_Click() { notYetAvailable(); }
void Form1::coklufaturayukle() {}
void Form1::Command31_Click() { notYetAvailable(); }
void Form1::Command50_Click() { notYetAvailable(); }
void Form1::Command55_Click() { notYetAvailable(); }
void Form1::Command42_Click() { notYetAvailable(); }
void Form1::Command43_Click() { notYetAvailable(); }
void Form1::Command6_Click() { notYetAvailable(); }
void Form1::Check4_Click() {}
void Form1::Check6_Click() {}
void Form1::Check5_Click() {}
void Form1::prm1_Click() {}
void Form1::prm2_Click() {}
void Form1::prm3_Click() {}
void Form1::setHeader() {}
void Form1::AutosizeColumns(QTreeWidget*) {}
void Form1::Text28_Change() {}
void Form1::VScroll1_Change() {}
void Form1::Frame23_MouseMove(int, int, float, float) {}
void Form1::Frame26_MouseMove(int, int, float, float) {}

// Master data.
void Form1::Combo4_LostFocus() {}
void Form1::Label19_Click() {}
void Form1::alanlariTemizle() {}
void Form1::Label1_Click() {}
void Form1::Combo3_LostFocus() {}
void Form1::Text19_Change() {}
void Form1::Text20_Change() {}
void Form1::List3_DblClick() {}
void Form1::List5_DblClick() {}
void Form1::Command23_Click() { notYetAvailable(); }
void Form1::Command24_Click() { notYetAvailable(); }
void Form1::Label8_Click() {}
void Form1::Label9_Click() {}
void Form1::Label10_Click() {}
void Form1::Label14_Click() {}
void Form1::Command1_Click() {}
void Form1::parameters_Click() { notYetAvailable(); }
void Form1::dbOpen() {}

// Download and archive.
void Form1::faturaindir_Click() { notYetAvailable(); }
void Form1::Command27_Click() { notYetAvailable(); }
void Form1::ineniUnziple() {}
void Form1::checkinmismi() {}
void Form1::Command20_Click() { notYetAvailable(); }
void Form1::Command22_Click() { notYetAvailable(); }

// Documents, reports and e-mail.
void Form1::File1_Click() {}
void Form1::Command28_Click() { notYetAvailable(); }
void Form1::Command30_Click() { notYetAvailable(); }
void Form1::Command29_Click() { notYetAvailable(); }
void Form1::Command34_Click() { notYetAvailable(); }
void Form1::Command35_Click() { notYetAvailable(); }
void Form1::Command36_Click() { notYetAvailable(); }
void Form1::Command37_Click() { notYetAvailable(); }
void Form1::Command38_Click() { notYetAvailable(); }
void Form1::Command39_Click() { notYetAvailable(); }
void Form1::Command40_Click() { notYetAvailable(); }
void Form1::Command14_Click() { notYetAvailable(); }
void Form1::Command15_Click() { notYetAvailable(); }
void Form1::Command16_Click() { notYetAvailable(); }

// Test-portal samples.
void Form1::imzaSayfasiAc() {}
void Form1::ornekirsaliyeyukle() {}

} // namespace kuvela
