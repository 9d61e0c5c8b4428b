// The line template buttons of the main window: "Excel'e Kaydet" writes the line grid
// into a template in the company's pro-forma folder, "Excel'den Al" replaces the lines
// with those of the picked template. The plain work is in line_template.h.
#include "invoice/form1_editor_state.h"
#include "invoice/line_template.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "shell/button_kind.h"
#include "shell/form1_filepane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace kuvela {

namespace {

// The saved template becomes the pick, and the lists show it picked.
void pickSavedFile(Form1& f, const std::filesystem::path& file)
{
    f.seciliDosyaAdi = fromPath(file.filename());
    f.seciliDosya = fromPath(file);
    for (QListWidget* list : {f.File1, f.List1}) {
        const auto found = list->findItems(f.seciliDosyaAdi, Qt::MatchExactly);
        if (!found.isEmpty())
            list->setCurrentItem(found.front());
    }
}

} // namespace

void Form1::Command9_Click()
{
    beginRoad();
    const invoice::TemplateExportRequest request{Combo4->currentText(), Combo1->currentText(), Text8->text(),
                                                 Text11->text(), Check5->isChecked()};
    const auto mayReplace = [](const QString& fileName) {
        return msgBox(invoice::replaceQuestion(fileName), MsgIcon::Question, QStringLiteral("Kuvela"), MsgButtons::YesNo,
                      MsgResult::No) == MsgResult::Yes;
    };
    const invoice::TemplateExportResult result =
        invoice::exportLineTemplate(request, lineGrid(*this), programFolder(), mayReplace);
    if (result.folder.empty()) {
        setPanel(7, result.statusText);
        return;
    }
    // Pointing Dir1 runs Dir1_Change, which lists the new file.
    setDir1Path(fromPath(result.folder));
    // A failed save keeps the earlier pick and says why in panel 7.
    if (result.saved)
        pickSavedFile(*this, result.file);
    Label12->setText(shownFolder(*this));
    for (QPushButton* b : {Command10, Command3, Command11, Command15, Command29})
        makeUnusable(b);
    setPanel(7, result.statusText);
}

void Form1::Command3_Click()
{
    ListView3->clear();
    whoTriggered = QStringLiteral("command3");
    ekmat1 = ekmat8 = ekmat18 = ekmat10 = ekmat20 = Decimal();
    beginRoad();
    setPanel(7, invoice::importReadingStatus());
    invoice::LineGrid& grid = lineGrid(*this);
    const invoice::LineImportResult result =
        invoice::importLineTemplate(seciliDosya, grid, Combo1->currentText(), dc, Check5->isChecked());
    using Outcome = invoice::LineImportResult::Outcome;
    switch (result.outcome) {
    case Outcome::NotExcel:
        setPanel(7, result.statusText);
        return;
    case Outcome::Refused:
    case Outcome::Failed:
        // Nothing was loaded: the grid keeps its lines.
        msgBox(result.message, MsgIcon::Exclamation);
        break;
    case Outcome::Loaded:
        grid.rows = result.rows;
        ListView2->clear();
        showLineGrid(*this);
        for (const QString& warning : result.warnings)
            msgBox(warning, MsgIcon::Exclamation);
        // Also for a template without lines, so no earlier total is left standing.
        yekunal();
        break;
    }
    setPanel(7, QString());
}

} // namespace kuvela
