// "Düzenlenen Belgeler" and "İptal / İtiraz": the user is logged into the portal and
// left on the page until the box is closed.
#include "archive/issued_page.h"
#include "platform/dialogs.h"
#include "shell/form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

namespace kuvela {

namespace {

void openPortalPage(Form1& f, const BrowserStart& start, const PortalLogin& how, const QString& boxText)
{
    f.beginRoad();
    f.checkConnection();
    if (f.Ret == 0)
        return;
    if (f.user->text().isEmpty() || f.pass->text().isEmpty()) {
        f.setPanel(7, QStringLiteral("eArşiv Portalı kullanıcı adı/şifresi girilmemiş...!"));
        return;
    }
    f.ProgressBar1->setVisible(true);
    f.setProgress(1);
    f.Label25->clear();

    BrowserSession s;
    LoginOutcome in;
    try {
        in = s.portalGiris(start, f.user->text(), f.pass->text(), how,
                           {[&](const QString& t) {
                                if (t != BrowserSession::loggedInText())
                                    f.setPanel(7, t);
                            },
                            [&](int v) { f.setProgress(v); }});
    } catch (const WebDriverError& e) {
        f.setPanel(7, QStringLiteral("Portala girilemedi: ") + e.fullMessage());
        return;
    }
    if (!in.loggedIn)
        return;
    f.setProgress(100);
    f.ys = QString::number(in.attempts);
    f.Label25->setText(QStringLiteral("Yükleme Süresi: ") + f.ys + QStringLiteral(" Saniye"));
    for (const SkippedStep& step : s.skippedSteps())
        if (step.what.contains(how.pageLink))
            f.setPanel(7, QStringLiteral("Sayfa bağlantısı bulunamadı: ") + how.pageLink);
    f.setProgress(0.0001);
    msgBox(boxText, MsgIcon::Information);
    s.tarayiciKapat();
}

} // namespace

void Form1::Command20_Click()
{
    openPortalPage(*this, issuedDocumentsPageStart(), PortalLogin::issuedDocuments(),
                   QStringLiteral("Düzenlenen Belgeler sayfasına giriş yapıldı.."));
}

void Form1::Command22_Click()
{
    openPortalPage(*this, cancelRequestsPageStart(), PortalLogin::cancelRequests(),
                   QStringLiteral("İptal/İtiraz Talepleri sayfasına giriş yapıldı.."));
}

} // namespace kuvela
