// "Sorgula" of the customer card: the buyer's name or title and tax office as the
// e-Arşiv portal's invoice page fills them for the number. Each value is read from the
// field itself, so the user's clipboard is left alone.
#include "masterdata/buyer_lookup.h"
#include "masterdata/form4.h"

#include "shell/dialog_window.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "shell/form1.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <optional>

namespace kuvela {

Q_LOGGING_CATEGORY(lcEarsivLookup, "kuvela.lookup.earsiv")

namespace {

struct EarsivAnswer {
    QString title, name, surname, taxOffice;
};

QString valueOf(BrowserSession& s, const QString& id)
{
    return s.find(Locator::id(id)).attribute(QStringLiteral("value"));
}

// Types the number, lets the portal fetch the buyer and reads the fields once the key
// field holds a value; at the time limit what they hold (nothing for an unknown number).
EarsivAnswer askPortal(BrowserSession& s, const QString& number, const LookupLimits& limits)
{
    s.find(Locator::id(QStringLiteral("gen__1033"))).sendKeys(number);
    s.pressKeys(Keys::Tab);
    BrowserSession::bekle(10);
    const EarsivFields f = earsivFields(number);
    const int limitMs = presenceMs(limits.valueWaitMs);
    QElapsedTimer waited;
    waited.start();
    while (valueOf(s, f.keyField).isEmpty() && waited.elapsed() < limitMs)
        pauseMs(limits.valuePollMs);

    EarsivAnswer a;
    if (f.person) {
        a.name = valueOf(s, QStringLiteral("gen__1035"));
        a.surname = valueOf(s, QStringLiteral("gen__1036"));
    } else {
        a.title = valueOf(s, QStringLiteral("gen__1034"));
    }
    a.taxOffice = valueOf(s, QStringLiteral("gen__1041"));
    return a;
}

} // namespace

void putTitle(Form4& card, const QString& title)
{
    card.Text2->clear();
    card.Text3->clear();
    card.Text1->setText(title);
}

void putNames(Form4& card, const QString& name, const QString& surname)
{
    card.Text1->clear();
    card.Text2->setText(name);
    card.Text3->setText(surname);
}

bool Form4::lookupStep1()
{
    if (lookupRunning_)
        return false;
    karar = QStringLiteral("Devam");
    // Neither is enabled again by the look-up: the next change of the number decides.
    Command3->setEnabled(false);
    Command5->setEnabled(false);
    return true;
}

void Form4::beginLookup()
{
    lookupNumber_ = Text6->text();
    lookupKind_ = kind();
    saveButtonsBeforeLookup_ = Command1->isEnabled();
    saveButtonsLater_ = saveButtonsBeforeLookup_;
    lookupButtonsLater_ = false;
    setAllButtons(false);
    lookupRunning_ = true;
}

void Form4::endLookup()
{
    lookupRunning_ = false;
    if (showsLookedUpCard()) {
        setSaveButtons(saveButtonsBeforeLookup_);
        Command3->setEnabled(false);
        Command5->setEnabled(false);
    } else {
        setSaveButtons(saveButtonsLater_);
        Command3->setEnabled(lookupButtonsLater_);
        Command5->setEnabled(lookupButtonsLater_);
    }
}

bool Form4::showsLookedUpCard() const
{
    return Text6->text() == lookupNumber_ && kind() == lookupKind_;
}

void Form4::Command3_Click()
{
    if (!lookupStep1())
        return;
    if (!Desktop::instance().isOnline()) {
        StatusBar1->setPanel(2, lookup_text::offline);
        return;
    }
    const QString user = main_.user->text();
    const QString pass = main_.pass->text();
    if (user.isEmpty() || pass.isEmpty()) {
        StatusBar1->setPanel(2, lookup_text::noEarsivAccount);
        return;
    }
    StatusBar1->setPanel(2, lookup_text::started);

    const QString number = Text6->text();
    beginLookup();
    const LookupLimits limits = LookupLimits::fromSettings();
    std::optional<EarsivAnswer> answer;
    {
        BrowserSession s;
        try {
            const LoginOutcome login = s.portalGiris(earsivLookupStart(), user, pass, earsivLookupLogin(limits));
            if (!login.loggedIn)
                qCInfo(lcEarsivLookup) << "başlangıç sayfası" << login.attempts << "denemede gelmedi";
            else if (!s.skippedSteps().empty())
                qCWarning(lcEarsivLookup).noquote() << "fatura sayfası açılamadı:" << s.skippedSteps().front().what
                                                    << s.skippedSteps().front().why;
            else
                answer = askPortal(s, number, limits);
        } catch (const std::exception& e) {
            qCWarning(lcEarsivLookup).noquote() << "sorgu yarıda kaldı:" << QString::fromStdString(e.what());
        }
        // No logout: the portal is left as the look-up found it.
        s.tarayiciKapat();
    }

    if (!answer) {
        StatusBar1->setPanel(2, lookup_text::siteSlow);
    } else if (!showsLookedUpCard()) {
        StatusBar1->setPanel(2, lookup_text::cardChanged);
    } else {
        if (earsivFields(number).person)
            putNames(*this, answer->name, answer->surname);
        else
            putTitle(*this, answer->title);
        Text5->setText(answer->taxOffice);
        StatusBar1->setPanel(2, lookup_text::done);
    }
    endLookup();
}

} // namespace kuvela
