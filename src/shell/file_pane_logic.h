#pragma once
// The file pane's decisions without widgets: which folder each view shows, what
// a pick in File1 makes available, and a delete that can only remove the one
// picked file. The window applies the results to its controls.
#include <QColor>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>

namespace kuvela {

// File1's pattern.
inline constexpr char16_t kFilePanePattern[] = u"*.xlsx;*.xls;*.txt;*.html;*.htm;*.pdf";
QStringList filePaneNameFilters();            // the pattern split for QDir/QFileSystemModel
bool matchesFilePanePattern(const QString& name); // letter case ignored, as on Windows

// Button colours by what the button does; the System* kinds follow the palette.
enum class ColorKind {
    White,
    LightGreen,        // import, download, send
    LightCyan,         // save, PDF
    LightRed,          // delete
    LightMagenta,      // open
    LightYellow,       // mail
    Cyan,              // extra operations
    SystemWindow,      // window background (&H80000005); also the chosen view's option
    SystemActiveBorder,// the other view options (&H8000000A)
    SystemHighlight,   // frame captions (&H8000000D)
};
QColor colorFor(ColorKind kind, const QPalette& palette);

// Only the fields that are set change; the rest of the button stays as it is.
struct ButtonState {
    std::optional<bool> visible;
    std::optional<bool> enabled;
    std::optional<ColorKind> kind;
};

// The pane's buttons, by their control names.
struct PaneButtons {
    ButtonState Command3;  // "Excel'den Al"
    ButtonState Command6;  // "Excel'den Al" of the bulk panel
    ButtonState Command9;  // "Excel'e Kaydet"
    ButtonState Command10; // "Sil"
    ButtonState Command11; // "Aç"
    ButtonState Command15; // "e-Mail"
    ButtonState Command26; // "Ek İşlemler"
    ButtonState Command27; // "Son Faturayı İndir"
    ButtonState Command28; // "Faturadan Al"
    ButtonState Command29; // "PDF"
    ButtonState Command30; // "Excel'e Aktar"
};

enum class PaneView {
    None,
    Proforma,         // Option3 "Proforma"
    SalesInvoices,    // Option4 "SATIŞ Faturaları"
    PurchaseInvoices, // Option5 "ALIŞ Faturaları"
    Reports,          // Option6 "Raporlar"
    SalesPdf,         // Option7 "Satış Fatura PDF"
};

// Text of Combo1 while no invoice type is chosen.
inline constexpr char16_t kNoInvoiceType[] = u"Fatura Türü Seçin";
// Text of Combo4 while no company is chosen.
inline constexpr char16_t kNoCompany[] = u"Firmalarım";

// <program folder>/Firmalarım/<company>
std::filesystem::path companyFolder(const std::filesystem::path& programFolder, const QString& company);

struct ViewInput {
    PaneView view = PaneView::None;
    std::filesystem::path programFolder;
    QString company;     // Combo4
    QString invoiceType; // Combo1
    bool bulk = false;   // Check5 ticked
};

struct ViewResult {
    // Dir1's new path; empty when the view cannot be shown (then `message` says why
    // and Dir1 stays where it was).
    std::filesystem::path folder;
    QString message;           // for panel 7
    bool clearStatus = false;  // empty panel 7 and Label25, progress bar to its start
    bool resetBulk = false;    // untick Check5 and run Check5_Click, before Dir1 is set
    bool highlightFrame16 = false;
    bool highlightFrame17 = false;
    PaneButtons buttons;
};

// The folder a view shows, by the rules of the Proforma view for its type and bulk
// sub-folders. Nothing is created here.
std::filesystem::path viewFolder(const ViewInput& in);

// Option3_Click ... Option7_Click. The Proforma view creates its own folders
// (Proforma, Proforma/<type>, .../Multi); the others only show what exists.
ViewResult openPaneView(const ViewInput& in);

// Option3..Option7 colours: the chosen view's button and the other four.
ColorKind viewOptionColor(PaneView option, PaneView chosen);

// File1_Click.
struct FilePick {
    QString seciliDosyaAdi;
    QString seciliDosya; // Dir1's path + separator + name; empty when nothing is picked
    PaneButtons buttons;
    bool highlightFrame16 = false;
};
FilePick file1Click(const std::filesystem::path& dir1Path, const QString& pickedName, PaneView view);

// Command10_Click "Sil": removes `seciliDosya` only when it is an existing regular
// file standing directly in `shownFolder`. Never a folder, never a pattern, never
// anything through a link.
struct DeleteResult {
    bool deleted = false;
    QString message; // empty when there was nothing to say (no pick, or deleted)
    PaneButtons buttons; // after "Sil": Command10, 3, 11, 15, 29 white and disabled
};
DeleteResult deletePickedFile(const QString& seciliDosya, const std::filesystem::path& shownFolder);

} // namespace kuvela
