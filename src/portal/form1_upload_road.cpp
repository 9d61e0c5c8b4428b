#include "portal/form1_upload_road.h"

#include "invoice/form1_editor_state.h"
#include "invoice/form1_editor_type.h"
#include "platform/clock.h"
#include "platform/paths.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kuvela {

portal::InvoicePageInput windowInvoice(Form1& f)
{
    portal::InvoicePageInput in;
    in.invoiceDate = f.Text8->text();
    in.invoiceTime = f.Text9->text();
    in.currency = f.Combo2->currentText();
    in.exchangeRate = f.Text7->text();
    in.kind = invoiceKindOf(f);
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

bool uploadMayStart(Form1& f)
{
    if (f.user->text().isEmpty() || f.pass->text().isEmpty()) {
        f.setPanel(7, QStringLiteral("Portal kullanıcı bilgileri girilmemiş..!"));
        return false;
    }
    f.checkConnection();
    if (f.Ret == 0)
        return false;
    f.checkChromeVersiyon();
    return true;
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

BrowserButtonsLock::BrowserButtonsLock(Form1& f)
{
    applying_ = true;
    for (QWidget* w : {static_cast<QWidget*>(f.Command12), static_cast<QWidget*>(f.Command20),
                       static_cast<QWidget*>(f.Command22), static_cast<QWidget*>(f.Command27),
                       static_cast<QWidget*>(f.Command1)}) {
        widgets_.push_back({w, w->isEnabled()});
        w->setEnabled(false);
        w->installEventFilter(this);
    }
    action_ = f.faturaindir;
    actionWanted_ = action_->isEnabled();
    action_->setEnabled(false);
    QObject::connect(action_, &QAction::enabledChanged, this, [this](bool on) {
        if (applying_ || !on)
            return;
        actionWanted_ = true;
        applying_ = true;
        action_->setEnabled(false);
        applying_ = false;
    });
    applying_ = false;
}

BrowserButtonsLock::~BrowserButtonsLock()
{
    applying_ = true;
    for (Held& h : widgets_) {
        if (!h.widget)
            continue;
        h.widget->removeEventFilter(this);
        h.widget->setEnabled(h.wanted);
    }
    if (action_) {
        QObject::disconnect(action_, nullptr, this, nullptr);
        action_->setEnabled(actionWanted_);
    }
}

bool BrowserButtonsLock::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::EnabledChange || applying_)
        return false;
    for (Held& h : widgets_) {
        if (h.widget != watched)
            continue;
        h.wanted = h.widget->isEnabled();
        if (h.wanted) {
            applying_ = true;
            h.widget->setEnabled(false);
            applying_ = false;
        }
    }
    return false;
}

} // namespace kuvela
