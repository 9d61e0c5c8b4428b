#include "shell/file_pane_logic.h"

#include "platform/paths.h"

#include <QDir>
#include <system_error>

namespace kuvela {

namespace fs = std::filesystem;

namespace {

const QString kProforma = QStringLiteral("Proforma");
const QString kSales = QStringLiteral("Satış Faturaları");
const QString kPurchases = QStringLiteral("Alış Faturaları");
const QString kReports = QStringLiteral("Raporlar");
const QString kMulti = QStringLiteral("Multi");

ButtonState shown(bool enabled, std::optional<ColorKind> kind = std::nullopt) { return {true, enabled, kind}; }
ButtonState hidden() { return {false, std::nullopt, std::nullopt}; }
ButtonState whiteDisabled() { return {std::nullopt, false, ColorKind::White}; }
ButtonState state(bool enabled, ColorKind kind) { return {std::nullopt, enabled, kind}; }

bool typeChosen(const QString& type)
{
    return !type.isEmpty() && type != QStringView(kNoInvoiceType);
}

// A name that becomes one folder level: no separators, no climbing.
bool safeFolderName(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(u'\\');
}

bool bulkType(const QString& type)
{
    return type == u"SATIŞ" || type == u"TEVKİFAT" || type == u"KONAKLAMA VERGİSİ";
}

QString shownPath(const fs::path& p)
{
    return QDir::toNativeSeparators(fromPath(p));
}

bool isFolder(const fs::path& p)
{
    std::error_code ec;
    return fs::is_directory(p, ec);
}

ViewResult refused(const QString& message)
{
    ViewResult r;
    r.message = message;
    return r;
}

// The buttons every view sets the same way.
PaneButtons commonViewButtons(PaneView view)
{
    PaneButtons b;
    const bool proforma = view == PaneView::Proforma;
    b.Command9 = proforma ? shown(true, ColorKind::LightCyan) : hidden();
    b.Command3 = proforma ? ButtonState{true, false, ColorKind::White} : hidden();
    const bool showFileButtons = view == PaneView::Reports || view == PaneView::SalesPdf;
    const ButtonState fileButton = showFileButtons ? ButtonState{true, false, ColorKind::White} : whiteDisabled();
    b.Command10 = b.Command11 = b.Command15 = fileButton;
    b.Command27 = view == PaneView::SalesInvoices ? shown(true, ColorKind::LightGreen) : hidden();
    b.Command28 = hidden();
    b.Command29 = whiteDisabled();
    b.Command30 = hidden();
    switch (view) {
    case PaneView::SalesInvoices:
    case PaneView::SalesPdf: b.Command26 = shown(true, ColorKind::Cyan); break;
    case PaneView::PurchaseInvoices: b.Command26 = shown(false); break;
    case PaneView::Reports: b.Command26 = shown(false, ColorKind::Cyan); break;
    default: b.Command26 = hidden(); break;
    }
    return b;
}

} // namespace

QStringList filePaneNameFilters()
{
    return QString::fromUtf16(kFilePanePattern).split(u';');
}

bool matchesFilePanePattern(const QString& name)
{
    static const QStringList filters = filePaneNameFilters();
    for (const QString& f : filters)
        if (name.size() > f.size() - 1 && name.endsWith(QStringView(f).mid(1), Qt::CaseInsensitive))
            return true;
    return false;
}

QColor colorFor(ColorKind kind, const QPalette& palette)
{
    switch (kind) {
    case ColorKind::White: return QColor(255, 255, 255);
    case ColorKind::LightGreen: return QColor(192, 255, 192);
    case ColorKind::LightCyan: return QColor(192, 255, 255);
    case ColorKind::LightRed: return QColor(255, 192, 192);
    case ColorKind::LightMagenta: return QColor(255, 192, 255);
    case ColorKind::LightYellow: return QColor(255, 255, 192);
    case ColorKind::Cyan: return QColor(0, 255, 255);
    case ColorKind::SystemWindow: return palette.color(QPalette::Base);
    case ColorKind::SystemActiveBorder: return palette.color(QPalette::Window);
    case ColorKind::SystemHighlight: return palette.color(QPalette::Highlight);
    }
    return {};
}

fs::path companyFolder(const fs::path& programFolder, const QString& company)
{
    return programFolder / toPath(QStringLiteral("Firmalarım")) / toPath(company);
}

fs::path viewFolder(const ViewInput& in)
{
    const fs::path co = companyFolder(in.programFolder, in.company);
    switch (in.view) {
    case PaneView::Proforma: {
        fs::path folder = co / toPath(kProforma);
        if (typeChosen(in.invoiceType)) {
            folder /= toPath(in.invoiceType);
            if (in.bulk && bulkType(in.invoiceType))
                folder /= toPath(kMulti);
        }
        return folder;
    }
    case PaneView::SalesInvoices: return co / toPath(kSales) / "Html";
    case PaneView::PurchaseInvoices: return co / toPath(kPurchases);
    case PaneView::Reports: return in.programFolder / toPath(kReports);
    case PaneView::SalesPdf: return co / toPath(kSales) / "Pdf";
    case PaneView::None: break;
    }
    return {};
}

ViewResult openPaneView(const ViewInput& in)
{
    if (in.view == PaneView::None)
        return {};
    if (in.view != PaneView::Reports) {
        if (in.company.isEmpty() || in.company == QStringView(kNoCompany))
            return refused(QStringLiteral("Satıcı firma seçilmemiş...!"));
        if (!safeFolderName(in.company))
            return refused(QStringLiteral("Geçersiz klasör adı: ") + in.company);
        if (!isFolder(companyFolder(in.programFolder, in.company)))
            return refused(QStringLiteral("Kullanıcı klasörü bulunamadı..."));
    }
    const bool withType = typeChosen(in.invoiceType);
    if (in.view == PaneView::Proforma && withType && !safeFolderName(in.invoiceType))
        return refused(QStringLiteral("Geçersiz klasör adı: ") + in.invoiceType);

    const fs::path folder = viewFolder(in);
    if (in.view == PaneView::Proforma) {
        std::error_code ec;
        fs::create_directories(folder, ec);
        if (!isFolder(folder))
            return refused(QStringLiteral("Klasör oluşturulamadı: ") + shownPath(folder));
    } else if (!isFolder(folder)) {
        return refused(QStringLiteral("Klasör bulunamadı: ") + shownPath(folder));
    }

    ViewResult r;
    r.folder = folder;
    r.buttons = commonViewButtons(in.view);
    r.highlightFrame17 = true;
    if (in.view == PaneView::Proforma) {
        if (!withType)
            r.buttons.Command9 = ButtonState{true, false, ColorKind::White};
    } else {
        r.highlightFrame16 = true;
        r.resetBulk = true;
        r.clearStatus = in.view == PaneView::SalesInvoices || in.view == PaneView::PurchaseInvoices;
    }
    return r;
}

ColorKind viewOptionColor(PaneView option, PaneView chosen)
{
    return option == chosen ? ColorKind::SystemWindow : ColorKind::SystemActiveBorder;
}

FilePick file1Click(const fs::path& dir1Path, const QString& pickedName, PaneView view)
{
    FilePick pick;
    PaneButtons& b = pick.buttons;
    b.Command28 = b.Command30 = hidden();
    b.Command29 = state(false, ColorKind::White);
    if (pickedName.isEmpty()) {
        // Nothing under the cursor: no path to act on.
        b.Command10 = b.Command11 = b.Command15 = state(false, ColorKind::White);
        return pick;
    }
    pick.seciliDosyaAdi = pickedName;
    pick.seciliDosya = fromPath(dir1Path / toPath(pickedName));

    b.Command11 = state(true, ColorKind::LightMagenta);
    b.Command15 = state(true, ColorKind::LightYellow);
    if (view == PaneView::SalesInvoices)
        b.Command29 = state(true, ColorKind::LightCyan);
    b.Command10 = state(false, ColorKind::SystemWindow);
    if (pickedName.endsWith(u".html", Qt::CaseInsensitive) || pickedName.endsWith(u".htm", Qt::CaseInsensitive))
        b.Command28 = b.Command30 = ButtonState{true, std::nullopt, std::nullopt};
    if (view == PaneView::Proforma) {
        if (pickedName.endsWith(u".xlsx", Qt::CaseInsensitive)) {
            b.Command3 = shown(true, ColorKind::LightGreen);
            b.Command6 = ButtonState{std::nullopt, true, std::nullopt};
        }
        pick.highlightFrame16 = true;
        b.Command9 = shown(true, ColorKind::LightCyan);
        b.Command10 = state(true, ColorKind::LightRed);
    }
    if (view == PaneView::PurchaseInvoices)
        b.Command15 = state(false, ColorKind::White);
    return pick;
}

DeleteResult deletePickedFile(const QString& seciliDosya, const fs::path& shownFolder)
{
    DeleteResult r;
    for (ButtonState* s : {&r.buttons.Command10, &r.buttons.Command3, &r.buttons.Command11, &r.buttons.Command15,
                           &r.buttons.Command29})
        *s = state(false, ColorKind::White);
    if (seciliDosya.isEmpty())
        return r;

    const fs::path file = toPath(seciliDosya);
    const QString name = fromPath(file.filename());
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(file, ec);
    if (ec || !fs::exists(st)) {
        r.message = QStringLiteral("Dosya bulunamadı: ") + name;
        return r;
    }
    if (fs::is_directory(st)) {
        r.message = QStringLiteral("Klasörler silinmez, yalnızca seçilen dosya silinir...!");
        return r;
    }
    if (!fs::is_regular_file(st) || name.isEmpty() || name == u"." || name == u"..") {
        r.message = QStringLiteral("Seçilen öğe bir dosya değil, silinmedi...!");
        return r;
    }
    std::error_code ec1, ec2;
    const fs::path parent = fs::weakly_canonical(fs::absolute(file, ec1).parent_path(), ec1);
    const fs::path shownDir = fs::weakly_canonical(shownFolder, ec2);
    if (ec1 || ec2 || shownFolder.empty() || parent != shownDir) {
        r.message = QStringLiteral("Gösterilen klasörün dışındaki dosya silinmez...!");
        return r;
    }
    if (!fs::remove(file, ec) || ec) {
        r.message = QStringLiteral("Dosya silinemedi: ") + name;
        return r;
    }
    r.deleted = true;
    return r;
}

} // namespace kuvela
