#include "masterdata/buyer_lookup.h"

#include "platform/settings.h"

namespace kuvela {

LookupLimits LookupLimits::fromSettings()
{
    const Settings s = Settings::forProgram();
    LookupLimits l;
    auto read = [&s](const char* key, int fallback) {
        const int v = s.intValue(QStringLiteral("lookup/") + QLatin1String(key), fallback);
        return v > 0 ? v : fallback;
    };
    l.loginPolls = read("loginPolls", l.loginPolls);
    l.loginPollMs = read("loginPollMs", l.loginPollMs);
    l.valueWaitMs = read("valueWaitMs", l.valueWaitMs);
    l.valuePollMs = read("valuePollMs", l.valuePollMs);
    l.resultPolls = read("resultPolls", l.resultPolls);
    l.resultPollMs = read("resultPollMs", l.resultPollMs);
    return l;
}

BrowserStart earsivLookupStart()
{
    return {{QStringLiteral("--window-position=0,1000"), QStringLiteral("--disable-logging"),
             QStringLiteral("--log-level=3"), QStringLiteral("--disable-extensions"),
             QStringLiteral("--disable-crash-reporter"), QStringLiteral("--disable-gpu")},
            {}};
}

PortalLogin earsivLookupLogin(const LookupLimits& limits)
{
    PortalLogin p = PortalLogin::customerLookup();
    p.limit = limits.loginPolls;
    p.pollMs = limits.loginPollMs;
    return p;
}

EarsivFields earsivFields(const QString& number)
{
    EarsivFields f;
    f.person = number.size() == 11;
    f.keyField = f.person ? QStringLiteral("gen__1035") : QStringLiteral("gen__1034");
    return f;
}

QString accountantsPortalUrl()
{
    QString url = Settings::forProgram().value(QStringLiteral("smmm/url"),
                                               QStringLiteral("https://intvrg.gib.gov.tr")).trimmed();
    while (url.endsWith(u'/'))
        url.chop(1);
    return url;
}

QString accountantsLoginUrl() { return accountantsPortalUrl() + QStringLiteral("/GIB/MUHASEBECI/MuhasebeciGiris.aspx"); }

QString companyTypeText(const QString& number)
{
    if (number.size() == 10)
        return QStringLiteral("Limited Şirket");
    if (number.size() == 11)
        return QStringLiteral("Gerçek Kişi");
    return {};
}

QString identityLabelXPath(const QString& officeId)
{
    if (officeId.size() == 10)
        return smmm::identityRb0;
    if (officeId.size() == 11)
        return smmm::identityRb1;
    return {};
}

QColor taxpayerStatusColour(const QString& status)
{
    return status == QLatin1String("Faal") ? QColor(0, 192, 0) : QColor(255, 128, 0);
}

bool newListIsFirstRow(const QStringList& rowsBefore, const QStringList& rowsAfter)
{
    return rowsAfter.size() == rowsBefore.size() + 1 && !rowsBefore.contains(rowsAfter.first());
}

QString smmm::resultCell(int n) { return resultRow + QStringLiteral("/td[%1]").arg(n); }

} // namespace kuvela
