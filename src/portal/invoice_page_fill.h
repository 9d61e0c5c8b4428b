#pragma once
// Filling an opened interactive invoice page through the browser, after the login:
// every step that fails is skipped and recorded by the session, and the road goes on.
#include "invoice/line_grid.h"
#include "platform/browser_session.h"
#include "portal/invoice_page_map.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace kuvela::portal {

// What goes into the page, as the main window holds it.
struct InvoicePageInput {
    QString invoiceDate;     // Text8, dd/mm/yyyy
    QString invoiceTime;     // Text9
    QString currency;        // Combo2's text
    QString exchangeRate;    // Text7
    invoice::InvoiceKind kind = invoice::InvoiceKind::None;  // Combo1
    QString taxNumber;       // Text4
    BuyerNames buyer;        // uunvan, aad, ssoyad
    QString taxOffice;       // Text3
    QString country;         // Text12
    QString address;         // Text2
    QString despatchNumber;  // Text11
    QString despatchDate;    // Text10
    QStringList returnReferences;  // aList1 (İADE)
    invoice::LineGrid grid;  // ListView1
    QString note;            // Text6
};

struct PageFillFeedback {
    std::function<void(int)> progress;                  // ProgressBar1
    std::function<void(const QString&)> portalMessage;  // the portal's pop-up text, for a warning box
};

// Where the bulk run fills a page otherwise than the single upload.
struct PageFillRoad {
    bool dateFromPicker = false;  // the invoice date's first click on its picker, 10 ms
    int dateUnlockMs = 250;       // after each of the invoice date's two unlock scripts
    bool despatchFromLabel = false;  // the despatch date's first click on "irsaltrId", 10 ms
    int addLineWaitMs = 100;      // after each extra click of the add-line element

    static PageFillRoad singleUpload() { return {}; }
    static PageFillRoad bulkUpload() { return {true, 50, true, 50}; }
};

// Runs the road's fixed pauses and adds them up.
class RoadWaits {
public:
    void operator()(int ms);
    // A pause the session made itself (the date unlock's two).
    void add(int ms) { total_ += ms; }
    long long totalMs() const { return total_; }

private:
    long long total_ = 0;
};

// The id of the first date container inside the page's first div; nothing when the
// page shows none after `tries` looks `waitMs` apart. Each failed look is reported.
std::optional<QString> readDateContainerId(BrowserSession& session, int tries, int waitMs, RoadWaits& wait,
                                           const std::function<void(int)>& failedTry = {});

// The header, taxes, return references, lines and note, in the single upload's order
// and with its waits; then the portal's grand total, empty when none is read.
QString fillInvoicePage(BrowserSession& session, const PageMap& page, const InvoicePageInput& input,
                        const PageFillFeedback& feedback, RoadWaits& wait,
                        const PageFillRoad& road = PageFillRoad::singleUpload());

// The elements of the line table as the page holds them now.
std::vector<LineElement> readLineElements(BrowserSession& session, const PageMap& page);
// The visible text of the grand total's first span; empty when the page shows none.
QString readGrandTotal(BrowserSession& session);

} // namespace kuvela::portal
