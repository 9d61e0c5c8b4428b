#include "portal/upload_queue.h"

#include "common/regional.h"
#include "platform/browser_session.h"

#include <algorithm>

namespace kuvela::portal {

const std::vector<QueueColumn>& queueColumns()
{
    const Qt::Alignment left = Qt::AlignLeft | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    static const std::vector<QueueColumn> columns = {
        {QStringLiteral("S.No"), left},
        {QStringLiteral("ETTN No"), centre},
        {QStringLiteral("Tarih"), centre},
        {QStringLiteral("Vergi Kimlik No"), right},
        {QStringLiteral("Vergi Dairesi"), left},
        {QStringLiteral("Adı-Soyadı / Ünvanı"), left},
        {QStringLiteral("Adresi"), left},
        {QStringLiteral("Tutar"), right},
        {QStringLiteral("Fark"), centre},
        {QStringLiteral("Satırlar"), centre},
        {QStringLiteral("Durum"), left},
    };
    return columns;
}

QString draftWaitsStatus() { return QStringLiteral("Yüklendi-Taslak Oluştur'u bekliyor"); }
QString answerWaitsStatus() { return QStringLiteral("Oluştur ya da Vazgeç bekleniyor..."); }
QString overLimitStatus() { return QStringLiteral("Limit üzerinde Toplam Farkı var. Kaydedilmedi !"); }
QString cancelledStatus() { return QStringLiteral("Vazgeçildi"); }
QString createdStatus() { return QStringLiteral("GIB SERİ NO OLUŞTU"); }
QString uncomparedStatus() { return QStringLiteral("Portal toplamı okunamadı. Kaydedilmedi !"); }

QString queueAmount(const QString& checkTotal)
{
    const std::optional<Decimal> total = regionalConvert(checkTotal);
    return total ? formatAmount(*total, 2) : QString();
}

QString queueDifference(const QString& portalTotal, const QString& checkTotal)
{
    const std::optional<Decimal> portal = regionalConvert(portalTotal);
    const std::optional<Decimal> ours = regionalConvert(checkTotal);
    if (!portal || !ours)
        return uncomparedDifference();
    return formatAmount(*portal - *ours, 2);
}

QString uncomparedDifference() { return QStringLiteral("Karşılaştırılamadı"); }

bool totalsCompared(const QString& portalTotal, const QString& checkTotal)
{
    return regionalConvert(portalTotal) && regionalConvert(checkTotal);
}

QString uploadSecondsText(double seconds)
{
    return QString::number(seconds, 'f', 2).replace(u'.', u',');
}

bool withinLimit(const QString& difference, const QString& limit)
{
    const std::optional<Decimal> diff = regionalConvert(difference);
    const std::optional<Decimal> most = regionalConvert(limit);
    if (!diff || !most)
        return false;
    return diff->roundHalfAway(2) <= most->roundHalfAway(2);
}

QString limitFromScroll(int value) { return formatPlain(Decimal(value) / Decimal(100)); }

QString singleUploadNumber() { return QStringLiteral("1"); }

QString draftLoadedLog()
{
    return QStringLiteral("Fatura bilgileri yüklendi. Portal üzerinden Oluştur butonuna tıkladığınızda portala "
                          "kaydedilecek ve GIB seri numarası oluşacaktır.");
}

QString notLoggedOutText() { return QStringLiteral("Portaldan çıkış yapılamadı; tarayıcı kapatıldı."); }

QString uploadDoneText(int skippedSteps, bool totalsCompared)
{
    if (skippedSteps <= 0 && totalsCompared)
        return QStringLiteral("Yükleme tamamlandı.");
    QString faults;
    if (skippedSteps > 0)
        faults = QStringLiteral("%1 adım yapılamadı").arg(skippedSteps);
    if (!totalsCompared)
        faults += (faults.isEmpty() ? QString() : QStringLiteral(" ve ")) + QStringLiteral("portalın toplamı okunamadı");
    return QStringLiteral("Yükleme tamamlandı, ancak %1! Faturayı portalda kontrol ediniz.").arg(faults);
}

QString uncomparedNote(bool totalsCompared)
{
    return totalsCompared ? QString() : QStringLiteral(" (portalın toplamı okunamadı)");
}

QString skippedNote(int skippedSteps)
{
    if (skippedSteps <= 0)
        return {};
    return QStringLiteral(" (%1 adım yapılamadı, ayrıntılar yükleme panelinde)").arg(skippedSteps);
}

QString skippedStepsLog(const std::vector<SkippedStep>& steps, size_t from, size_t to)
{
    to = std::min(to, steps.size());
    if (from >= to)
        return {};
    QString log = QStringLiteral("Portalda yapılamayan adımlar (portal değişmiş olabilir):");
    for (size_t i = from; i < to; ++i) {
        // The driver's first line says why; the rest is its own diagnostics.
        const QString why = steps[i].why.section(u'\n', 0, 0).left(200);
        log += QStringLiteral("\n- ") + steps[i].what + QStringLiteral(": ") + why;
    }
    return log;
}

std::optional<QPointF> PanelDrag::mouseMove(int button, float x, float y)
{
    if (button == 1)
        return QPointF(x - x0_, y - y0_);
    x0_ = x;
    y0_ = y;
    return std::nullopt;
}

} // namespace kuvela::portal
