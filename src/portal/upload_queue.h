#pragma once
// The upload log ListView3 as plain data: its column titles and alignments, the status
// texts of its rows, the amounts it shows, the total-difference limit (Text29) and the
// dragging of its floating panels.
#include "common/decimal.h"
#include "portal/bulk_template.h"  // UploadQueueRow, queuedEttn, waitingStatus

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

namespace kuvela {
struct SkippedStep;
}

namespace kuvela::portal {

// The column titles setHeader lays out, with their alignment.
struct QueueColumn {
    QString title;
    Qt::Alignment align;
};
const std::vector<QueueColumn>& queueColumns();

// UploadStatus texts, besides the queue builder's waitingStatus() and the portal's own
// refusal text.
QString draftWaitsStatus();    // "Yüklendi-Taslak Oluştur'u bekliyor"
QString answerWaitsStatus();   // "Oluştur ya da Vazgeç bekleniyor..."
QString overLimitStatus();     // "Limit üzerinde Toplam Farkı var. Kaydedilmedi !"
QString cancelledStatus();     // "Vazgeçildi"
QString createdStatus();       // "GIB SERİ NO OLUŞTU"
QString uncomparedStatus();    // bulk run: the totals could not be compared; not created

// "Tutar": the program's total with two decimals, grouped ("221,4" gives "221,40");
// empty when it is no number.
QString queueAmount(const QString& checkTotal);
// "Fark": portal total minus program total with two decimals. When either is no number
// (the portal's "NaN", a total not found) the comparison failed, and the cell says so:
// never a blank that could pass for a matching invoice.
QString queueDifference(const QString& portalTotal, const QString& checkTotal);
QString uncomparedDifference();  // "Karşılaştırılamadı"
bool totalsCompared(const QString& portalTotal, const QString& checkTotal);
// The upload's seconds as Label25 shows them: two decimals with a comma ("3,25").
QString uploadSecondsText(double seconds);

// The limit test of an uploaded invoice: the difference, at two decimals, is not above
// the limit. A negative difference passes whatever its size. A difference or a limit
// that is no number does not pass: nothing unverified is created.
bool withinLimit(const QString& difference, const QString& limit);
// VScroll1_Change: the scroll bar's value divided by 100, without fixed decimals
// (5 gives "0,05", 10 gives "0,1", 100 gives "1").
QString limitFromScroll(int value);

// The end texts of both uploads that say what did not happen. A road that could not
// log out says so, never "Portaldan Güvenli Çıkış yapıldı".
QString notLoggedOutText();  // "Portaldan çıkış yapılamadı; tarayıcı kapatıldı."
// Panel 7 when the page is filled: "Yükleme tamamlandı." only when no step was skipped
// and the totals were compared.
QString uploadDoneText(int skippedSteps, bool totalsCompared = true);
// Added to panel 7's later texts when the totals could not be compared.
QString uncomparedNote(bool totalsCompared);
// Added to an end text in panel 7 when steps were skipped: where to read about them.
QString skippedNote(int skippedSteps);
// Text28's lines for skipped steps [from, to): what and why, one a line.
QString skippedStepsLog(const std::vector<SkippedStep>& steps, size_t from, size_t to);

// The S.No text of the single upload's row.
QString singleUploadNumber();
// Text28 after the single upload's row.
QString draftLoadedLog();

// A floating panel dragged by its surface. Positions are in twips, relative to the panel.
class PanelDrag {
public:
    // A move with the left button alone gives how far the panel goes; any other move
    // records where the pointer is.
    std::optional<QPointF> mouseMove(int button, float x, float y);

private:
    float x0_ = 0;
    float y0_ = 0;
};

} // namespace kuvela::portal
