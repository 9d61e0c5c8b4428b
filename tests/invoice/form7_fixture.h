#pragma once
// The main window with the line-entry dialog: a workbook with every code list the
// dialog reads and a few product cards, and the user's moves (picking a type,
// leaving a box, typing keys, filling a line) as the window sees them.
#include "editor_window_fixture.h"
#include "invoice/form7.h"
#include "platform/paths.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <fstream>

namespace kuvela::test {

inline std::vector<SheetSpec> lineDialogData()
{
    std::vector<SheetSpec> data = editorData();
    for (SheetSpec& s : data) {
        CellList add;
        if (s.name == QStringLiteral("kodDATA")) {
            add = {{"B1", "Tevkifat"}, {"C1", "Oran"}, {"B2", "601"}, {"C2", 40}, {"B3", "602"}, {"C3", 90},
                   {"B4", "801"}, {"C4", 100},
                   {"M1", "Özel Matrah Nedeni"}, {"M2", "801-Milli Piyango, Spor Toto vb. Oyunlar"},
                   {"M3", "805-Gümüşten mamül eşya teslimi"},
                   {"O1", "Birim"}, {"O2", "Adet"}, {"O3", "kg"}, {"O4", "Gün"}, {"O5", "Ay"}, {"O6", "Koli"},
                   {"Q1", "KDV"}, {"Q2", 0}, {"Q3", 1}, {"Q4", 8}, {"Q5", 10}, {"Q6", 18}, {"Q7", 20}};
        } else if (s.name == QStringLiteral("sDATA")) {
            add = {{"A1", "Kod"}, {"B1", "Firma"}, {"C1", "Ürün/Hizmet Adı"},
                   {"A2", "P001"}, {"B2", "Çağdaş Gıda"}, {"C2", "Danışmanlık Hizmeti"}, {"D2", "Gün"}, {"E2", 1500},
                   {"F2", "0"}, {"G2", 18},
                   {"A3", "P002"}, {"B3", "Firmalarım"}, {"C3", "Kargo Bedeli"}, {"D3", "Koli"}, {"E3", 45.5},
                   {"G3", 8},
                   {"A4", "P003"}, {"B4", "Işık Yazılım"}, {"C4", "Yazılım Lisansı"}, {"D4", "Adet"}, {"E4", 1000}};
        }
        s.cells.insert(s.cells.end(), add.begin(), add.end());
    }
    return data;
}

// One line as the user fills the dialog; empty members are left as the dialog has them.
struct LineSpec {
    QString name, quantity, unit, price, discount = QStringLiteral("0"), vat;
    QString withholding, tax1, rate1, tax2, rate2, gtip, reason, special;
};

class LineDialogTest : public EditorWindowTest {
protected:
    void start()
    {
        // A machine whose browser driver is in line with the browser: start-up asks nothing.
        static_cast<RecordingDesktop&>(Desktop::instance()).chrome = QStringLiteral("120.0.6099.71");
        std::filesystem::create_directories(home / QStringLiteral("prgDosyaları"));
        std::ofstream(home / QStringLiteral("prgDosyaları/ChromeDriverVersiyon.txt")) << "[120]\n";
        EditorWindowTest::start(lineDialogData());
    }

    // The user leaves a box with the Tab key.
    static void tabOut(QWidget* w)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w, &out);
    }

    // Keys typed one by one at the end of a box.
    static void type(QLineEdit* box, const QString& keys)
    {
        box->end(false);
        for (const QChar c : keys) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(box, &press);
        }
    }

    // Picks a type from the list and leaves the box, as the user does.
    void chooseType(const QString& text)
    {
        const int index = form->Combo1->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        form->Combo1->setCurrentIndex(index);
        emit form->Combo1->activated(index);
        tabOut(form->Combo1);
    }

    // The seller as the window holds it once the company is loaded.
    void sellerIs(const QString& company, const QString& notes = {}, const QString& ledger = QStringLiteral("B"))
    {
        {
            const QSignalBlocker quiet(form->Combo4);
            form->Combo4->setEditText(company);
        }
        form->userNot1 = notes;
        form->userNot2.clear();
        form->userNot3.clear();
        form->prmMatStr = QStringLiteral("E");
        form->prmYazStr = QStringLiteral("e");
        form->firmaMukellefiyet = ledger;
    }

    Form7& lineDialog()
    {
        form->Command7_Click();
        Form7* d = Form7::existing(*form);
        EXPECT_NE(d, nullptr);
        return *d;
    }

    static void pickItem(QComboBox* box, const QString& item)
    {
        const int index = box->findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        box->setCurrentIndex(index);
    }

    static void fill(Form7& d, const LineSpec& l)
    {
        d.Text2->setText(l.name);
        d.Text3->setText(l.quantity);
        d.Combo1->setEditText(l.unit);
        d.Text4->setText(l.price);
        d.Text5->setText(l.discount);
        d.Combo2->setEditText(QString());
        type(d.Combo2->lineEdit(), l.vat);  // a digit at a time, as the user types a rate
        d.Combo3->setEditText(l.withholding);
        tabOut(d.Combo3);
        d.Combo4->setEditText(l.tax1);
        d.Text7->setText(l.rate1);
        d.Combo5->setEditText(l.tax2);
        d.Text8->setText(l.rate2);
        d.Text9->setText(l.gtip);
        d.Combo10->setEditText(l.reason);
        d.Text10->setText(l.special);
    }

    void addLine(const LineSpec& l)
    {
        Form7& d = lineDialog();
        fill(d, l);
        d.Command4->click();
        EXPECT_TRUE(d.panelText(2).isEmpty()) << d.panelText(2).toStdString();
    }

    // sDATA's rows from row 2 as JSON lists, read by openpyxl.
    QStringList cardRows() const
    {
        QProcess py;
        py.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import json, sys, openpyxl\n"
                                 "ws = openpyxl.load_workbook(sys.argv[1])['sDATA']\n"
                                 "for row in ws.iter_rows(min_row=2, max_col=16, values_only=True):\n"
                                 "    print(json.dumps(list(row), ensure_ascii=False))\n"),
                  fromPath(home / QStringLiteral("Data/DATA.xlsx"))});
        EXPECT_TRUE(py.waitForFinished(30000));
        EXPECT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
        return QString::fromUtf8(py.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }
};

} // namespace kuvela::test
