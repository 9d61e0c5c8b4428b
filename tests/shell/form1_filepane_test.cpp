// The file pane of the main window on a company's folder tree.
#include "masterdata/form1_window_fixture.h"
#include "shell/button_kind.h"
#include "shell/form1_filepane.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTest>
#include <fstream>

namespace kuvela {
namespace {

namespace fs = std::filesystem;

void touch(const fs::path& file)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << "x";
}

QColor paneColourOf(ColorKind kind, const QWidget* w)
{
    return colorFor(kind, QApplication::palette(w));
}

class Form1FilePaneTest : public test::WindowTest {
protected:
    fs::path co() const { return home_ / QStringLiteral("Firmalarım/Çağdaş Gıda"); }
    fs::path in(const char* sub) const { return co() / toPath(QString::fromUtf8(sub)); }

    // "Çağdaş Gıda" loaded, with files in every view's folder.
    Form1& startWithFiles()
    {
        home_.writeData(test::standardData());
        Form1& w = start();
        chooseCompany(QStringLiteral("Çağdaş Gıda"));
        for (const char* name : {"sablon.xlsx", "BUYUK.XLSX", "eski.xls", "not.txt", "resim.png", ".gizli.xlsx"})
            touch(in("Proforma") / name);
        for (const char* name : {"x.html", "abc.HtM", "liste.xlsx"})
            touch(in("Satış Faturaları/Html") / name);
        touch(in("Alış Faturaları/alis.xlsx"));
        touch(in("Satış Faturaları/Pdf/f.pdf"));
        touch(home_ / QStringLiteral("Raporlar/rapor.txt"));
        return w;
    }

    QRadioButton* option(PaneView v) const
    {
        switch (v) {
        case PaneView::Proforma: return window_->Option3;
        case PaneView::SalesInvoices: return window_->Option4;
        case PaneView::PurchaseInvoices: return window_->Option5;
        case PaneView::Reports: return window_->Option6;
        default: return window_->Option7;
        }
    }

    void pickInFile1(const QString& name)
    {
        const auto found = window_->File1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        window_->File1->setCurrentItem(found.front());
        window_->File1_Click();
    }
};

struct ViewCase {
    PaneView view;
    const char* folder;  // under the company, or the program folder for "Raporlar"
    QStringList file1;
    QStringList list1;
    bool ekShown, ekEnabled, lastInvoiceShown, fileButtonsShown;
};

TEST_F(Form1FilePaneTest, EachViewListsItsFolder)
{
    Form1& w = startWithFiles();
    const ViewCase cases[] = {
        {PaneView::SalesInvoices, "Satış Faturaları/Html", {"abc.HtM", "liste.xlsx", "x.html"}, {"liste.xlsx"}, true, true, true, false},
        {PaneView::Proforma, "Proforma", {"BUYUK.XLSX", "eski.xls", "not.txt", "sablon.xlsx"}, {"BUYUK.XLSX", "sablon.xlsx"}, false, false, false, false},
        {PaneView::PurchaseInvoices, "Alış Faturaları", {"alis.xlsx"}, {"alis.xlsx"}, true, false, false, false},
        {PaneView::Reports, "", {"rapor.txt"}, {}, true, false, false, true},
        {PaneView::SalesPdf, "Satış Faturaları/Pdf", {"f.pdf"}, {}, true, true, false, true},
    };
    for (const ViewCase& c : cases) {
        SCOPED_TRACE(int(c.view));
        w.setPanel(7, QStringLiteral("önceki"));
        option(c.view)->setChecked(true);
        const fs::path folder = c.view == PaneView::Reports ? home_ / QStringLiteral("Raporlar") : in(c.folder);
        EXPECT_EQ(w.Dir1Path(), fromPath(folder));
        EXPECT_EQ(w.Label12->text(), QDir::toNativeSeparators(fromPath(folder)));
        EXPECT_EQ(items(w.File1), c.file1);
        EXPECT_EQ(items(w.List1), c.list1);
        EXPECT_EQ(!w.Command26->isHidden(), c.ekShown);
        if (c.ekShown)
            EXPECT_EQ(w.Command26->isEnabled(), c.ekEnabled);
        EXPECT_EQ(!w.Command27->isHidden(), c.lastInvoiceShown);
        if (c.fileButtonsShown)
            EXPECT_FALSE(w.Command10->isHidden() || w.Command11->isHidden() || w.Command15->isHidden());
        EXPECT_FALSE(w.Command29->isEnabled());
        EXPECT_EQ(backColour(w.Command29), QColor(Qt::white));
        EXPECT_TRUE(w.Command28->isHidden() && w.Command30->isHidden());
        // Status cleared by the two invoice views only.
        const bool cleared = c.view == PaneView::SalesInvoices || c.view == PaneView::PurchaseInvoices;
        EXPECT_EQ(w.panelText(7).isEmpty(), cleared);
        for (PaneView v : {PaneView::Proforma, PaneView::SalesInvoices, PaneView::PurchaseInvoices, PaneView::Reports,
                           PaneView::SalesPdf}) {
            EXPECT_EQ(option(v)->isChecked(), v == c.view);
            EXPECT_EQ(backColour(option(v)), paneColourOf(viewOptionColor(v, c.view), option(v)));
        }
        EXPECT_EQ(captionColour(w.Frame17), paneColourOf(ColorKind::SystemHighlight, w.Frame17));
        // Clicked again by the user, the chosen view stays chosen.
        QTest::mouseClick(option(c.view), Qt::LeftButton, {}, QPoint(6, option(c.view)->height() / 2));
        EXPECT_TRUE(option(c.view)->isChecked());
    }
}

TEST_F(Form1FilePaneTest, ProformaWithATypeShowsAndMakesTheTypeFolder)
{
    Form1& w = startWithFiles();
    w.Combo1->setEditText(QStringLiteral("İADE"));
    fs::remove_all(in("Proforma/İADE"));
    w.Option3->setChecked(true);
    EXPECT_TRUE(fs::is_directory(in("Proforma/İADE")));
    EXPECT_EQ(w.Dir1Path(), fromPath(in("Proforma/İADE")));
    EXPECT_TRUE(w.Command9->isEnabled());
    EXPECT_EQ(backColour(w.Command9), buttonColour(ButtonKind::Save));

    w.Combo1->setEditText(QStringLiteral("Fatura Türü Seçin"));
    w.Option3_Click();
    EXPECT_EQ(w.Dir1Path(), fromPath(in("Proforma")));
    EXPECT_FALSE(w.Command9->isEnabled());
}

struct PickCase {
    PaneView view;
    const char* name;
    bool invoiceButtons;  // "Faturadan Al", "Excel'e Aktar"
    bool pdf;
    bool mail;
    bool deleteEnabled;
    bool importShown;     // "Excel'den Al" shown and light green
};

TEST_F(Form1FilePaneTest, PickingAFileSetsTheButtonsByEndingAndView)
{
    Form1& w = startWithFiles();
    const PickCase cases[] = {
        {PaneView::SalesInvoices, "x.html", true, true, true, false, false},
        {PaneView::SalesInvoices, "abc.HtM", true, true, true, false, false},
        {PaneView::SalesInvoices, "liste.xlsx", false, true, true, false, false},
        {PaneView::Proforma, "sablon.xlsx", false, false, true, true, true},
        {PaneView::Proforma, "BUYUK.XLSX", false, false, true, true, true},
        {PaneView::Proforma, "not.txt", false, false, true, true, false},
        {PaneView::PurchaseInvoices, "alis.xlsx", false, false, false, false, false},
        {PaneView::SalesPdf, "f.pdf", false, false, true, false, false},
    };
    for (const PickCase& c : cases) {
        SCOPED_TRACE(c.name);
        option(c.view)->setChecked(true);
        pickInFile1(QString::fromUtf8(c.name));
        EXPECT_EQ(w.seciliDosyaAdi, QString::fromUtf8(c.name));
        EXPECT_EQ(w.seciliDosya, fromPath(toPath(w.Dir1Path()) / toPath(QString::fromUtf8(c.name))));
        EXPECT_EQ(!w.Command28->isHidden(), c.invoiceButtons);
        EXPECT_EQ(!w.Command30->isHidden(), c.invoiceButtons);
        EXPECT_EQ(w.Command29->isEnabled(), c.pdf);
        EXPECT_EQ(backColour(w.Command29), c.pdf ? buttonColour(ButtonKind::Save) : QColor(Qt::white));
        EXPECT_TRUE(w.Command11->isEnabled());
        EXPECT_EQ(backColour(w.Command11), buttonColour(ButtonKind::Open));
        EXPECT_EQ(w.Command15->isEnabled(), c.mail);
        EXPECT_EQ(backColour(w.Command15), c.mail ? buttonColour(ButtonKind::Mail) : QColor(Qt::white));
        EXPECT_EQ(w.Command10->isEnabled(), c.deleteEnabled);
        if (c.deleteEnabled) {
            EXPECT_EQ(backColour(w.Command10), buttonColour(ButtonKind::Delete));
            EXPECT_EQ(captionColour(w.Frame16), paneColourOf(ColorKind::SystemHighlight, w.Frame16));
        }
        if (c.importShown) {
            EXPECT_FALSE(w.Command3->isHidden());
            EXPECT_TRUE(w.Command3->isEnabled());
            EXPECT_EQ(backColour(w.Command3), buttonColour(ButtonKind::Import));
        } else if (c.view != PaneView::Proforma) {
            EXPECT_TRUE(w.Command3->isHidden());
        }
    }
}

TEST_F(Form1FilePaneTest, DeleteRemovesOnlyThePickedFile)
{
    Form1& w = startWithFiles();
    w.Option3->setChecked(true);
    pickInFile1(QStringLiteral("not.txt"));
    ASSERT_TRUE(w.Command10->isEnabled());
    w.Command10->click();
    EXPECT_FALSE(fs::exists(in("Proforma/not.txt")));
    for (const char* kept : {"sablon.xlsx", "BUYUK.XLSX", "eski.xls", "resim.png", ".gizli.xlsx", "SATIŞ"})
        EXPECT_TRUE(fs::exists(in("Proforma") / kept)) << kept;
    EXPECT_TRUE(w.seciliDosya.isEmpty());
    EXPECT_EQ(items(w.File1), (QStringList{"BUYUK.XLSX", "eski.xls", "sablon.xlsx"}));
    for (QPushButton* b : {w.Command10, w.Command3, w.Command11, w.Command15, w.Command29}) {
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_EQ(backColour(b), QColor(Qt::white)) << b->objectName().toStdString();
    }
    EXPECT_TRUE(dialogs_->shown().empty());
    EXPECT_TRUE(w.panelText(7).isEmpty());
}

TEST_F(Form1FilePaneTest, DeleteNeverTakesAFolderAPatternOrAFileElsewhere)
{
    Form1& w = startWithFiles();
    w.Option3->setChecked(true);
    const fs::path data = home_ / QStringLiteral("Data/DATA.xlsx");
    struct Case { fs::path picked; fs::path mustStay; };
    const Case cases[] = {
        {in("Proforma/SATIŞ"), in("Proforma/SATIŞ")},
        {in("Proforma/*.xlsx"), in("Proforma/sablon.xlsx")},
        {data, data},
        {{}, in("Proforma/sablon.xlsx")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(fromPath(c.picked).toStdString());
        w.seciliDosya = fromPath(c.picked);
        w.Command10_Click();
        EXPECT_TRUE(fs::exists(c.mustStay));
        EXPECT_TRUE(w.seciliDosya.isEmpty());
        EXPECT_EQ(w.panelText(7).isEmpty(), c.picked.empty()) << w.panelText(7).toStdString();
    }
    for (const char* kept : {"sablon.xlsx", "BUYUK.XLSX", "eski.xls", "not.txt", "resim.png", ".gizli.xlsx"})
        EXPECT_TRUE(fs::exists(in("Proforma") / kept)) << kept;
    EXPECT_EQ(w.File1->count(), 4);
}

TEST_F(Form1FilePaneTest, MissingViewFolderIsToldInTurkish)
{
    {
        home_.writeData(test::standardData());
        Form1& w = start();
        w.Option4->setChecked(true);
        EXPECT_EQ(dialogs_->texts(), QStringList{QStringLiteral("Satıcı firma seçilmemiş...!")});
        EXPECT_FALSE(w.Option4->isChecked());
        window_.reset();
    }
    Form1& w = startWithFiles();
    fs::remove_all(home_ / QStringLiteral("Raporlar"));
    fs::remove_all(in("Satış Faturaları/Html"));
    w.Option5->setChecked(true);
    const QString shown = w.Dir1Path();
    for (QRadioButton* o : {w.Option6, w.Option4}) {
        dialogs_->clear();
        o->setChecked(true);
        ASSERT_EQ(dialogs_->shown().size(), 1u) << o->objectName().toStdString();
        EXPECT_EQ(dialogs_->shown().front().icon, MsgIcon::Exclamation);
        EXPECT_TRUE(dialogs_->texts().front().startsWith(QStringLiteral("Klasör bulunamadı: ")));
        EXPECT_EQ(w.Dir1Path(), shown);
        EXPECT_FALSE(o->isChecked());
    }
}

TEST_F(Form1FilePaneTest, OpeningGoesByTheLastThreeLettersOfTheName)
{
    Form1& w = startWithFiles();
    struct Case { PaneView view; const char* name; bool opened; };
    const Case cases[] = {
        {PaneView::Proforma, "sablon.xlsx", true}, {PaneView::Proforma, "BUYUK.XLSX", true},
        {PaneView::Proforma, "eski.xls", false},   {PaneView::Proforma, "not.txt", true},
        {PaneView::SalesInvoices, "x.html", true}, {PaneView::SalesInvoices, "abc.HtM", true},
        {PaneView::SalesPdf, "f.pdf", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        option(c.view)->setChecked(true);
        desktop_->opened.clear();
        const auto found = w.File1->findItems(QString::fromUtf8(c.name), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        w.File1->setCurrentItem(found.front());
        w.File1_DblClick();
        EXPECT_EQ(w.seciliDosyaAdi, QString::fromUtf8(c.name));
        if (c.opened)
            EXPECT_EQ(desktop_->opened, std::vector<fs::path>{toPath(w.seciliDosya)});
        else
            EXPECT_TRUE(desktop_->opened.empty());
    }
    // A double-click with no type chosen makes "Excel'den Al" usable.
    EXPECT_TRUE(w.Command3->isEnabled());

    // The desktop's own opener: xdg-open's exit status decides, and a failure is said.
    // One still running when the wait ends has the file (it runs the program itself).
    std::unique_ptr<Desktop> recording = Desktop::replace(std::make_unique<Desktop>());
    const test::ScopedEnv shortWait("KUVELA_PRESENCE_SCALE", "0.3");
    test::StubProgram opener(QStringLiteral("xdg-open"));
    option(PaneView::SalesInvoices)->setChecked(true);
    w.File1->setCurrentItem(w.File1->findItems(QStringLiteral("x.html"), Qt::MatchExactly).front());
    struct Run { const char* lines; const char* said; };
    for (const Run& r : {Run{"exit 0", ""}, Run{"exit 3", "Dosya açılamadı: x.html"}, Run{"exec sleep 20", ""},
                         Run{"kill -SEGV $$", "Dosya açılamadı: x.html"}}) {
        SCOPED_TRACE(r.lines);
        opener.behave(QString::fromUtf8(r.lines));
        w.File1_DblClick();
        EXPECT_EQ(opener.arguments(), QStringList{w.seciliDosya});
        EXPECT_EQ(w.panelText(7), QString::fromUtf8(r.said));
    }
    {
        const test::ScopedEnv nowhere("PATH", QStringLiteral("/nonexistent").toUtf8());
        w.File1_DblClick();
        EXPECT_EQ(w.panelText(7), QStringLiteral("Dosya açılamadı: x.html"));
    }
    Desktop::replace(std::move(recording));
}

TEST_F(Form1FilePaneTest, WorkbookListPickEnablesTheFileButtonsOnlyWithAType)
{
    Form1& w = startWithFiles();
    w.Option3->setChecked(true);
    w.List1->setCurrentRow(1);
    w.List1_Click();
    EXPECT_EQ(w.seciliDosyaAdi, QStringLiteral("sablon.xlsx"));
    EXPECT_FALSE(w.Command10->isEnabled());

    w.Combo1->setEditText(QStringLiteral("SATIŞ"));
    w.List1_Click();
    for (auto [b, kind] : {std::pair{w.Command3, ButtonKind::Import}, std::pair{w.Command10, ButtonKind::Delete},
                           std::pair{w.Command11, ButtonKind::Open}, std::pair{w.Command15, ButtonKind::Mail}}) {
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
        EXPECT_EQ(backColour(b), buttonColour(kind)) << b->objectName().toStdString();
    }

    desktop_->opened.clear();
    w.List1_DblClick();
    EXPECT_EQ(desktop_->opened, std::vector<fs::path>{in("Proforma/sablon.xlsx")});
}

TEST_F(Form1FilePaneTest, FolderClickUnsetsOnlyTheFirstThreeViews)
{
    Form1& w = startWithFiles();
    {
        const QSignalBlocker a(w.Option4), b(w.Option7);
        w.Option4->setChecked(true);
        w.Option7->setChecked(true);
    }
    w.Dir1_Click();
    EXPECT_FALSE(w.Option4->isChecked());
    EXPECT_TRUE(w.Option7->isChecked());

    w.Option4->setChecked(true);
    QDir().mkpath(QStringLiteral(KUVELA_BINARY_DIR "/screenshots"));
    w.grab().save(QStringLiteral(KUVELA_BINARY_DIR "/screenshots/form1_filepane.png"));
}

} // namespace
} // namespace kuvela
