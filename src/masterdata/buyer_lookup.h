#pragma once
// The customer card's two look-ups by number as plain rules: how each browser starts,
// the limits of their polls (settings, so that tests run them short), the accountants'
// portal's locators, and the guard of its closing confirm.
#include "platform/browser_session.h"

#include <QColor>
#include <QString>
#include <QStringList>

namespace kuvela {

class Form4;

namespace lookup_text {
inline const QString offline = QStringLiteral("İnternete bağlı değilsiniz !");
inline const QString noEarsivAccount = QStringLiteral("eArşiv Portalı kullanıcı adı/şifresi girilmemiş...!");
inline const QString started = QStringLiteral("Sorgulama başlatıldı...");
inline const QString done = QStringLiteral("Sorgulama tamamlandı...");
inline const QString siteSlow = QStringLiteral("Site çok yavaş, lütfen daha sonra tekrar deneyiniz...");
inline const QString siteBusy = QStringLiteral("Site çok yoğun.. daha sonra deneyiniz...");
inline const QString noOfficeId = QStringLiteral(" Sorgu için gerekli olan ID girilmemiş...!");
inline const QString noOfficePassword = QStringLiteral(" Sorgu için gerekli olan şifre girilmemiş...!");
inline const QString typeCaptcha = QStringLiteral("Güvenlik kodunu girin...");
inline const QString cardChanged = QStringLiteral("Sorgu sürerken numara veya tür değişti; sonuç karta yazılmadı.");
} // namespace lookup_text

// Poll counts and times of both look-ups; times are before the time scale.
struct LookupLimits {
    int loginPolls = 20;       // e-Arşiv start page
    int loginPollMs = 1000;
    int valueWaitMs = 5000;    // e-Arşiv: the buyer's data after Tab
    int valuePollMs = 200;
    int resultPolls = 11;      // accountants' portal: the query's result
    int resultPollMs = 1000;
    int titleScanTries = 3;
    int captchaLength = 5;

    // "lookup/loginPolls", "lookup/loginPollMs", "lookup/valueWaitMs", "lookup/valuePollMs",
    // "lookup/resultPolls", "lookup/resultPollMs".
    static LookupLimits fromSettings();
};

// e-Arşiv look-up: six switches, no preferences.
BrowserStart earsivLookupStart();
// The login and menu walk of the e-Arşiv look-up with the limits' polls.
PortalLogin earsivLookupLogin(const LookupLimits& limits);

// Which e-Arşiv page field holds what for a number of this length.
struct EarsivFields {
    bool person = false;       // 11 characters
    QString keyField;          // filled once the portal has answered
};
EarsivFields earsivFields(const QString& number);

// The accountants' portal address, setting "smmm/url" (KUVELA_SMMM_URL), without a
// trailing slash, and its login page.
QString accountantsPortalUrl();
QString accountantsLoginUrl();

// "Limited Şirket" for 10 characters, "Gerçek Kişi" for 11, else "".
QString companyTypeText(const QString& number);
// The identity-type label to click for the office's own number, "" for none.
QString identityLabelXPath(const QString& officeId);
// Green for "Faal", orange otherwise.
QColor taxpayerStatusColour(const QString& status);

// The closing confirm hits row 0 of the home list only when that row is this run's
// new list: one more row than before the new-list click, and a text not seen before.
bool newListIsFirstRow(const QStringList& rowsBefore, const QStringList& rowsAfter);

// A look-up's answer into the card. A title and a name empty each other through the
// boxes' change handlers, and a name written over a title would be emptied again by
// the title's own handler; so the excluded boxes are emptied first and the answer stands.
void putTitle(Form4& card, const QString& title);
void putNames(Form4& card, const QString& name, const QString& surname);

// The accountants' portal's elements (XPath unless the name says otherwise).
namespace smmm {
inline const QString identityRb0 =
    QStringLiteral("//*[@id='rpanel1_ASPxCallbackPanel1_rbKimlikTuru2_RB0']/tbody/tr/td[2]/label");
inline const QString identityRb1 =
    QStringLiteral("//*[@id='rpanel1_ASPxCallbackPanel1_rbKimlikTuru2_RB1']/tbody/tr/td[2]/label");
inline const QString officeId = QStringLiteral("//*[@id='rpanel1_ASPxCallbackPanel1_txtKimlikNo2_I']");
inline const QString officePassword = QStringLiteral("//*[@id='rpanel1_ASPxCallbackPanel1_txtSifre_I']");
inline const QString captchaImage =
    QStringLiteral("//*[@id='rpanel1_ASPxCallbackPanel1_ASPxCallbackPanel2_imgGKodu']");
inline const QString captchaCode = QStringLiteral("//*[@id='rpanel1_ASPxCallbackPanel1_txtGuvenlikKelimesi_I']");
inline const QString loginButton = QStringLiteral("//*[@id='rpanel1_ASPxCallbackPanel1_btnGiris_CD']");
inline const QString loginError = QStringLiteral("//*[@id='rpanel1_ASPxCallbackPanel1_lblHata1']");
inline const QString newList = QStringLiteral("//*[@id='rpanel1_btnYeniListe_CD']/span");
inline const QString addTaxpayer = QStringLiteral("//*[@id='rpanel1_btnYeniMukellefEkle_CD']");
inline const QString typeListButton =
    QStringLiteral("//*[@id='rpanel1_popUp2_ASPxCallbackPanel2_rpanel2_ddlSirketTuru_B-1']");
inline const QString typeRowClass = QStringLiteral("dxeListBoxItemRow_Office2003_Silver");
inline const QString number = QStringLiteral("//*[@id='rpanel1_popUp2_ASPxCallbackPanel2_rpanel2_txtKimlikNo2_I']");
inline const QString queryButton =
    QStringLiteral("//*[@id='rpanel1_popUp2_ASPxCallbackPanel2_rpanel2_btnSorgula2_CD']");
inline const QString resultRow = QStringLiteral("//*[@id='rpanel1_popUp2_ASPxCallbackPanel2_rpanel2_grdListe1_DXDataRow0']");
inline const QString titleField =
    QStringLiteral("//*[@id='rpanel1_popUp2_ASPxCallbackPanel2_rpanel2_ASPxCallbackPanel5_txtMukellefUnvani_I']");
inline const QString titleInputName =
    QStringLiteral("rpanel1$popUp2$ASPxCallbackPanel2$rpanel2$ASPxCallbackPanel5$txtMukellefUnvani");
inline const QString address =
    QStringLiteral("//*[@id='rpanel1_popUp2_ASPxCallbackPanel2_rpanel2_ASPxCallbackPanel5_txtMukellefAdres_I']");
inline const QString taxOffice =
    QStringLiteral("//*[@id='rpanel1_popUp2_ASPxCallbackPanel2_rpanel2_ASPxCallbackPanel5_ddlMukellefVergiDairesi_I']");
inline const QString popupClose = QStringLiteral("//*[@id='rpanel1_popUp2_HCB-1Img']");
inline const QString homeLink = QStringLiteral("//*[@id='rpanel1_hlAnaSayfa']");
inline const QString homeListRows =
    QStringLiteral("//*[@id='rpanel1_grdListe2']//tr[starts-with(@id, 'rpanel1_grdListe2_DXDataRow')]");
inline const QString firstListAction = QStringLiteral("//*[@id='rpanel1_grdListe2_DXDataRow0']/td[6]/a");
inline const QString logout = QStringLiteral("//*[@id='lbtnLogOut']");
// Cell n (1-based) of the query's first result row.
QString resultCell(int n);
} // namespace smmm

} // namespace kuvela
