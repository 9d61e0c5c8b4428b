#include "shell/file_pane_logic.h"

#include "platform/paths.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kuvela;
namespace fs = std::filesystem;

namespace {

fs::path P(const char* utf8) { return toPath(QString::fromUtf8(utf8)); }

void touch(const fs::path& file)
{
    QFile f(fromPath(file));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

// A program folder with one company's tree and the reports folder.
struct Tree {
    QTemporaryDir tmp;
    fs::path program = toPath(tmp.path());
    fs::path co = program / P("Firmalarım") / P("Alfa Ticaret");
    Tree()
    {
        for (const char* sub : {"Proforma/SATIŞ", "Alış Faturaları", "Satış Faturaları/Html", "Satış Faturaları/Pdf"})
            fs::create_directories(co / P(sub));
        fs::create_directories(program / "Raporlar");
    }
    ViewInput in(PaneView v, const QString& type = QString::fromUtf16(kNoInvoiceType), bool bulk = false) const
    {
        return {v, program, QStringLiteral("Alfa Ticaret"), type, bulk};
    }
};

bool same(const ButtonState& s, std::optional<bool> visible, std::optional<bool> enabled,
          std::optional<ColorKind> kind)
{
    return s.visible == visible && s.enabled == enabled && s.kind == kind;
}

constexpr auto W = ColorKind::White;
const std::nullopt_t _ = std::nullopt;

} // namespace

TEST(FilePaneViews, EachViewShowsItsFolderWithItsButtons)
{
    Tree t;
    struct Case {
        PaneView view;
        const char* folder;
        bool clearStatus, resetBulk, frame16;
    } cases[] = {
        {PaneView::Proforma, "Firmalarım/Alfa Ticaret/Proforma", false, false, false},
        {PaneView::SalesInvoices, "Firmalarım/Alfa Ticaret/Satış Faturaları/Html", true, true, true},
        {PaneView::PurchaseInvoices, "Firmalarım/Alfa Ticaret/Alış Faturaları", true, true, true},
        {PaneView::Reports, "Raporlar", false, true, true},
        {PaneView::SalesPdf, "Firmalarım/Alfa Ticaret/Satış Faturaları/Pdf", false, true, true},
    };
    for (const Case& c : cases) {
        const ViewResult r = openPaneView(t.in(c.view));
        EXPECT_EQ(r.folder, t.program / P(c.folder)) << c.folder;
        EXPECT_TRUE(r.message.isEmpty()) << c.folder;
        EXPECT_EQ(r.clearStatus, c.clearStatus) << c.folder;
        EXPECT_EQ(r.resetBulk, c.resetBulk) << c.folder;
        EXPECT_EQ(r.highlightFrame16, c.frame16) << c.folder;
        EXPECT_TRUE(r.highlightFrame17);
        EXPECT_TRUE(same(r.buttons.Command29, _, false, W));
        EXPECT_TRUE(same(r.buttons.Command28, false, _, _));
        EXPECT_TRUE(same(r.buttons.Command30, false, _, _));
    }
    const PaneButtons sales = openPaneView(t.in(PaneView::SalesInvoices)).buttons;
    EXPECT_TRUE(same(sales.Command26, true, true, ColorKind::Cyan));
    EXPECT_TRUE(same(sales.Command27, true, true, ColorKind::LightGreen));
    EXPECT_TRUE(same(sales.Command9, false, _, _));
    EXPECT_TRUE(same(sales.Command10, _, false, W));
    const PaneButtons purchases = openPaneView(t.in(PaneView::PurchaseInvoices)).buttons;
    EXPECT_TRUE(same(purchases.Command26, true, false, _));
    EXPECT_TRUE(same(purchases.Command27, false, _, _));
    const PaneButtons reports = openPaneView(t.in(PaneView::Reports)).buttons;
    EXPECT_TRUE(same(reports.Command26, true, false, ColorKind::Cyan));
    EXPECT_TRUE(same(reports.Command11, true, false, W));
    const PaneButtons proforma = openPaneView(t.in(PaneView::Proforma)).buttons;
    EXPECT_TRUE(same(proforma.Command9, true, false, W)); // no type chosen
    EXPECT_TRUE(same(proforma.Command3, true, false, W));
    EXPECT_TRUE(same(proforma.Command26, false, _, _));
    EXPECT_EQ(viewOptionColor(PaneView::Reports, PaneView::Reports), ColorKind::SystemWindow);
    EXPECT_EQ(viewOptionColor(PaneView::Proforma, PaneView::Reports), ColorKind::SystemActiveBorder);
}

TEST(FilePaneViews, ProformaCreatesTypeAndBulkFolders)
{
    Tree t;
    fs::remove_all(t.co / "Proforma");
    // Without a type only Proforma itself is made.
    ViewResult r = openPaneView(t.in(PaneView::Proforma));
    EXPECT_EQ(r.folder, t.co / "Proforma");
    EXPECT_TRUE(fs::is_directory(t.co / "Proforma"));
    EXPECT_EQ(std::distance(fs::directory_iterator(t.co / "Proforma"), fs::directory_iterator()), 0);

    r = openPaneView(t.in(PaneView::Proforma, "KONAKLAMA VERGİSİ"));
    EXPECT_EQ(r.folder, t.co / "Proforma" / P("KONAKLAMA VERGİSİ"));
    EXPECT_TRUE(same(r.buttons.Command9, true, true, ColorKind::LightCyan));

    r = openPaneView(t.in(PaneView::Proforma, "TEVKİFAT", true));
    EXPECT_EQ(r.folder, t.co / "Proforma" / P("TEVKİFAT") / "Multi");
    EXPECT_TRUE(fs::is_directory(r.folder));
    // Bulk applies only to its three types.
    EXPECT_EQ(openPaneView(t.in(PaneView::Proforma, "İADE", true)).folder, t.co / "Proforma" / P("İADE"));
}

TEST(FilePaneViews, MissingFoldersAndBadNamesGiveMessagesNotFolders)
{
    Tree t;
    fs::remove_all(t.co / P("Alış Faturaları"));
    ViewResult r = openPaneView(t.in(PaneView::PurchaseInvoices));
    EXPECT_TRUE(r.folder.empty());
    EXPECT_TRUE(r.message.startsWith("Klasör bulunamadı: ")) << r.message.toStdString();

    ViewInput noTree = t.in(PaneView::Proforma, "SATIŞ");
    noTree.company = "Gama Gıda";
    r = openPaneView(noTree);
    EXPECT_EQ(r.message, "Kullanıcı klasörü bulunamadı...");
    EXPECT_FALSE(fs::exists(t.program / P("Firmalarım") / P("Gama Gıda")));

    ViewInput none = t.in(PaneView::SalesInvoices);
    none.company = QString::fromUtf16(kNoCompany);
    EXPECT_TRUE(openPaneView(none).folder.empty());

    ViewInput climbing = t.in(PaneView::Proforma, "../../dışarı");
    r = openPaneView(climbing);
    EXPECT_TRUE(r.folder.empty());
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_FALSE(fs::exists(t.co / P("dışarı")));
}

TEST(FilePanePick, ButtonsFollowTheEndingAndTheView)
{
    const fs::path dir = P("/tmp/Html");
    FilePick p = file1Click(dir, "abc.HtM", PaneView::PurchaseInvoices);
    EXPECT_EQ(p.seciliDosyaAdi, "abc.HtM");
    EXPECT_EQ(p.seciliDosya, fromPath(dir / "abc.HtM"));
    EXPECT_TRUE(same(p.buttons.Command28, true, _, _));
    EXPECT_TRUE(same(p.buttons.Command30, true, _, _));
    EXPECT_TRUE(same(p.buttons.Command11, _, true, ColorKind::LightMagenta));
    EXPECT_TRUE(same(p.buttons.Command15, _, false, W)); // purchases: no mail
    EXPECT_TRUE(same(p.buttons.Command29, _, false, W));

    p = file1Click(dir, "a.xlsx", PaneView::SalesInvoices);
    EXPECT_TRUE(same(p.buttons.Command29, _, true, ColorKind::LightCyan));
    EXPECT_TRUE(same(p.buttons.Command28, false, _, _));
    EXPECT_TRUE(same(p.buttons.Command15, _, true, ColorKind::LightYellow));
    EXPECT_TRUE(same(p.buttons.Command10, _, false, ColorKind::SystemWindow));
    EXPECT_TRUE(same(p.buttons.Command3, _, _, _));

    p = file1Click(dir, "Şablon.XLSX", PaneView::Proforma);
    EXPECT_TRUE(same(p.buttons.Command3, true, true, ColorKind::LightGreen));
    EXPECT_TRUE(same(p.buttons.Command6, _, true, _));
    EXPECT_TRUE(same(p.buttons.Command9, true, true, ColorKind::LightCyan));
    EXPECT_TRUE(same(p.buttons.Command10, _, true, ColorKind::LightRed));
    EXPECT_TRUE(p.highlightFrame16);

    p = file1Click(dir, "not.txt", PaneView::Proforma);
    EXPECT_TRUE(same(p.buttons.Command3, _, _, _));
    EXPECT_TRUE(same(p.buttons.Command10, _, true, ColorKind::LightRed));

    // No entry under the cursor: nothing picked, nothing to open.
    p = file1Click(dir, "", PaneView::SalesInvoices);
    EXPECT_TRUE(p.seciliDosya.isEmpty());
    EXPECT_TRUE(same(p.buttons.Command11, _, false, W));
}

TEST(FilePanePattern, MatchesTheSixEndingsInAnyCase)
{
    EXPECT_EQ(filePaneNameFilters().size(), 6);
    for (const char* yes : {"a.xlsx", "B.XLSX", "c.xls", "d.TXT", "e.html", "f.Htm", "g.pdf"})
        EXPECT_TRUE(matchesFilePanePattern(QString::fromUtf8(yes))) << yes;
    for (const char* no : {"h.doc", "xlsx", "i.xlsx.bak", ".pdfx"})
        EXPECT_FALSE(matchesFilePanePattern(QString::fromUtf8(no))) << no;
}

TEST(FilePaneDelete, RemovesOnlyThePickedFile)
{
    Tree t;
    const fs::path html = t.co / P("Satış Faturaları/Html");
    touch(html / P("a*.xlsx"));
    touch(html / P("ab.xlsx"));
    touch(t.co / P("Alış Faturaları") / "outside.xlsx");
    fs::create_directories(html / "sub");

    DeleteResult r = deletePickedFile(fromPath(html / P("a*.xlsx")), html);
    EXPECT_TRUE(r.deleted);
    EXPECT_FALSE(fs::exists(html / P("a*.xlsx")));
    EXPECT_TRUE(fs::exists(html / P("ab.xlsx"))); // no pattern expansion
    EXPECT_TRUE(same(r.buttons.Command10, _, false, W));
    EXPECT_TRUE(same(r.buttons.Command29, _, false, W));

    struct Refusal {
        QString path;
        const char* what;
    } refusals[] = {
        {fromPath(html / "sub"), "folder"},
        {fromPath(html) + u'/', "folder by trailing separator"},
        {fromPath(html / ".." / ".." / P("Alış Faturaları") / "outside.xlsx"), "outside the shown folder"},
        {fromPath(html / "gone.xlsx"), "missing"},
    };
    for (const Refusal& c : refusals) {
        r = deletePickedFile(c.path, html);
        EXPECT_FALSE(r.deleted) << c.what;
        EXPECT_FALSE(r.message.isEmpty()) << c.what;
    }
    EXPECT_TRUE(fs::is_directory(html / "sub"));
    EXPECT_TRUE(fs::exists(t.co / P("Alış Faturaları") / "outside.xlsx"));

    fs::create_symlink(t.co / P("Alış Faturaları") / "outside.xlsx", html / "link.xlsx");
    EXPECT_FALSE(deletePickedFile(fromPath(html / "link.xlsx"), html).deleted);
    EXPECT_TRUE(fs::exists(t.co / P("Alış Faturaları") / "outside.xlsx"));

    r = deletePickedFile("", html);
    EXPECT_FALSE(r.deleted);
    EXPECT_TRUE(r.message.isEmpty());
}
