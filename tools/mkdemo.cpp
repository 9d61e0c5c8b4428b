// Builds the demo program folder from the readable sources under demo/:
// demo/data/<sheet>.tsv become the sheets of Data/DATA.xlsx (cells written as typed),
// demo/files/* are copied into Data/, and every demo/tree/<path>.tsv becomes the
// workbook <path>.xlsx of the program folder with the one sheet "Sayfa1" (bulk
// templates ready to read).
// With --starter it writes the workbook the setup delivers instead: every sheet with
// its header row, column A of prgDATA, the code lists and the first login, but no
// company, customer or product.
#include "platform/paths.h"
#include "platform/workbook.h"

#include <QFile>
#include <QStringList>
#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace kuvela;

namespace {

// The first login of a starter workbook.
const char* const kStarterUser = "kuvela";
const char* const kStarterPassword = "1234";

// Rows and columns beyond the limits are left out (0 = no limit).
void fillSheet(Sheet& sheet, const fs::path& tsv, int maxRows = 0, int maxColumns = 0)
{
    QFile f(fromPath(tsv));
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + tsv.string());
    const QStringList lines = QString::fromUtf8(f.readAll()).split(u'\n');
    for (int r = 0; r < lines.size() && (maxRows == 0 || r < maxRows); ++r) {
        const QStringList cells = lines[r].split(u'\t');
        for (int c = 0; c < cells.size() && (maxColumns == 0 || c < maxColumns); ++c)
            if (!cells[c].isEmpty())
                sheet.setText(r + 1, c + 1, cells[c]);
    }
}

void writeStarter(const fs::path& src, const fs::path& out)
{
    Workbook wb = Workbook::create(QStringLiteral("prgDATA"));
    Sheet& prg = wb.sheet(QStringLiteral("prgDATA"));
    fillSheet(prg, src / "data" / "prgDATA.tsv", 0, 1);
    prg.setText(4, 2, QString::fromLatin1(kStarterUser));
    prg.setText(5, 2, QString::fromLatin1(kStarterPassword));
    prg.setText(25, 2, QStringLiteral("2"));
    fillSheet(wb.addSheet(QStringLiteral("mDATA")), src / "data" / "mDATA.tsv", 1);
    fillSheet(wb.addSheet(QStringLiteral("kodDATA")), src / "data" / "kodDATA.tsv");
    fillSheet(wb.addSheet(QStringLiteral("sDATA")), src / "data" / "sDATA.tsv", 1);
    fs::create_directories(out.parent_path());
    wb.saveAs(out);
}

} // namespace

int main(int argc, char** argv)
{
    const bool starter = argc == 4 && std::string(argv[1]) == "--starter";
    if (argc != 3 && !starter) {
        std::fprintf(stderr, "usage: mkdemo <demo sources> <program folder>\n"
                             "       mkdemo --starter <demo sources> <DATA.xlsx>\n");
        return 2;
    }
    const fs::path src = fs::u8path(argv[argc - 2]);
    const fs::path out = fs::u8path(argv[argc - 1]);
    try {
        if (starter) {
            writeStarter(src, out);
            return 0;
        }
        for (const char* folder : {"Data", "prgDosyaları", "Firmalarım", "Raporlar", "Yedek"})
            fs::create_directories(out / fs::u8path(folder));
        Workbook wb = Workbook::create(QStringLiteral("prgDATA"));
        fillSheet(wb.sheet(QStringLiteral("prgDATA")), src / "data" / "prgDATA.tsv");
        for (const char* name : {"mDATA", "kodDATA", "sDATA"})
            fillSheet(wb.addSheet(QString::fromLatin1(name)), src / "data" / (std::string(name) + ".tsv"));
        wb.saveAs(out / "Data" / "DATA.xlsx");
        if (fs::exists(src / "tree"))
            for (const auto& e : fs::recursive_directory_iterator(src / "tree")) {
                if (!e.is_regular_file() || e.path().extension() != ".tsv")
                    continue;
                fs::path target = out / fs::relative(e.path(), src / "tree");
                target.replace_extension(".xlsx");
                fs::create_directories(target.parent_path());
                Workbook book = Workbook::create(QStringLiteral("Sayfa1"));
                fillSheet(book.sheet(QStringLiteral("Sayfa1")), e.path());
                book.saveAs(target);
            }
        if (fs::exists(src / "files"))
            for (const auto& e : fs::directory_iterator(src / "files"))
                fs::copy_file(e.path(), out / "Data" / e.path().filename(), fs::copy_options::overwrite_existing);
    } catch (const WorkbookError& e) {
        std::fprintf(stderr, "mkdemo: %s\n", e.message().toUtf8().constData());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mkdemo: %s\n", e.what());
        return 1;
    }
    return 0;
}
