#include "documents/line_export.h"

namespace kuvela::documents {

bool cancelledFileName(const QString& name)
{
    return name.indexOf(QStringLiteral("İptal"), 1) >= 1;
}

void LineExport::add(const ExportInvoice& invoice)
{
    // The header row takes a step that the end of the file takes back, so the next
    // invoice starts right below this one's last line.
    for (size_t t = 1; t <= invoice.lines.size(); ++t) {
        const QStringList& cells = invoice.lines[t - 1];
        if (t > 1) {
            if (invoice.cancelled) {
                put(row_, 1, invoice.number + QStringLiteral("-İPTAL"));
                ++row_;
                break;
            }
            if (isClosingRow(cells)) {
                put(row_, 1, cells.first());
                break;
            }
            for (int c = 0; c < cells.size(); ++c)
                put(row_, c + 1, cells[c]);
            const int n = int(cells.size());
            put(row_, n + 1, invoice.type);
            put(row_, n + 2, invoice.date);
            put(row_, n + 3, invoice.number);
            put(row_, n + 4, invoice.buyerRow2);
            put(row_, n + 5, invoice.buyerRow8);
        }
        ++row_;
    }
    if (!invoice.lines.empty())
        --row_;
}

void LineExport::finish(int programVersion)
{
    put(row_ + 1, 1, QStringLiteral("Excel'e çıkarma işlemi tamamlandı - Kuvela v") + QString::number(programVersion));
}

} // namespace kuvela::documents
