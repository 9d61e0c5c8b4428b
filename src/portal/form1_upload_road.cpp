#include "portal/form1_upload_road.h"

#include "invoice/form1_editor_state.h"
#include "invoice/form1_editor_type.h"
#include "platform/clock.h"
#include "platform/paths.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace kuvela {

portal::InvoicePageInput windowInvoice(Form1& f)
{
    portal::InvoicePageInput in;
    in.invoiceDate = f.Text8->text();
    in.invoiceTime = f.Text9->text();
    in.currency = f.Combo2->currentText();
    in.exchangeRate = f.Text7->text();
    in.typeText = f.Combo1->currentText();
    in.typePosition = invoiceTypePosition(f);
    in.taxNumber = f.Text4->text();
    in.buyer = {f.uunvan->text(), f.aad->text(), f.ssoyad->text()};
    in.taxOffice = f.Text3->text();
    in.country = f.Text12->text();
    in.address = f.Text2->text();
    in.despatchNumber = f.Text11->text();
    in.despatchDate = f.Text10->text();
    in.grid = lineGrid(f);
    in.note = f.Text6->toPlainText();
    return in;
}

QString uploadDownloadFolder(const Form1& f)
{
    return fromPath(programFolder() / "Firmalarım" / toPath(f.Combo4->currentText()) / "Satış Faturaları" / "Temp");
}

void waitForUploadAnswer(Form1& f, bool& windowClosing)
{
    const CloseWatch watch(f, windowClosing);
    serveUntil([&] { return f.Frame26->isHidden() || f.karar == kKararQuit || windowClosing; });
}

CloseWatch::CloseWatch(Form1& f, bool& closing) : form_(f), closing_(closing)
{
    form_.installEventFilter(this);
}

CloseWatch::~CloseWatch()
{
    form_.removeEventFilter(this);
}

bool CloseWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &form_ && event->type() == QEvent::Close)
        closing_ = true;
    return false;
}

} // namespace kuvela
