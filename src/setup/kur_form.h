#pragma once
// The setup's one window: the scan's texts at start, "Devam   >>" runs the install
// road, "Kapat" starts the installed program, "Kurulumdan Çık" ends the setup.
#include "setup/install_road.h"

#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kuvela::setup {

class KurForm : public QWidget {
    Q_OBJECT
public:
    // The component layer and the launcher belong to the caller and outlive the window.
    explicit KurForm(SetupContext context, QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;
    QLabel* Label4 = nullptr;
    QPlainTextEdit* Text12 = nullptr;
    QPlainTextEdit* Text13 = nullptr;
    QPlainTextEdit* Text14 = nullptr;
    std::array<QLineEdit*, 7> Text1{};
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;

    const ScanResult& scan() const { return scan_; }
    const RoadResult& road() const { return road_; }

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

private:
    void endSetup();

    SetupContext context_;
    ScanResult scan_;
    RoadResult road_;
};

} // namespace kuvela::setup
