// The whole-process peer of the openpyxl and pandas readings: open a workbook, read
// every cell of every sheet as text, print the cell and character counts.
#include "platform/workbook.h"

#include <QString>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <file.xlsx>\n", argv[0]);
        return 2;
    }
    try {
        kuvela::Workbook wb = kuvela::Workbook::open(std::filesystem::u8path(argv[1]));
        long long cells = 0, chars = 0;
        for (const QString& name : wb.sheetNames()) {
            kuvela::Sheet& s = wb.sheet(name);
            const int rows = s.lastRow(), cols = s.lastColumn();
            for (int r = 1; r <= rows; ++r)
                for (int c = 1; c <= cols; ++c) {
                    const kuvela::CellValue v = s.value(r, c);
                    if (!v.isEmpty()) {
                        ++cells;
                        chars += v.toText().size();
                    }
                }
        }
        std::printf("%lld cells, %lld chars\n", cells, chars);
    } catch (const kuvela::WorkbookError& e) {
        std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
        return 1;
    }
    return 0;
}
