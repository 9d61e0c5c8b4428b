#include "portal/bulk_run.h"

#include "portal/upload_queue.h"

namespace kuvela::portal {

namespace {
const QString kCreated = QStringLiteral("Faturanız başarıyla oluşturulmuştur");
}

RunAnswer answerOf(const QString& karar)
{
    if (karar == QStringLiteral("OLUŞTUR"))
        return RunAnswer::Create;
    if (karar == QStringLiteral("VAZGEÇ"))
        return RunAnswer::Cancel;
    return RunAnswer::End;
}

bool differencePasses(const QString& difference, const QString& limit)
{
    QString magnitude = difference.trimmed();
    if (magnitude.startsWith(u'-'))
        magnitude.remove(0, 1);
    if (magnitude.startsWith(u'-'))
        return false;
    return withinLimit(magnitude, limit);
}

bool isCreatedMessage(const QString& portalmsg) { return portalmsg.left(35) == kCreated; }

std::optional<QString> resultStatus(const QString& portalmsg)
{
    if (portalmsg.isEmpty())
        return std::nullopt;
    return isCreatedMessage(portalmsg) ? createdStatus() : portalmsg;
}

QString noAnswerStatus() { return QStringLiteral("Portaldan yanıt alınamadı ! Faturayı portalda kontrol ediniz."); }

QString runStartedStatus() { return QStringLiteral("Fatura yükleme işlemi başlatıldı..."); }
QString runStartedLog() { return QStringLiteral("Faturalar sırayla portala yükleniyor..."); }

QString uploadedText(int queued, int number)
{
    return QStringLiteral("%1/%2. fatura yüklendi.").arg(queued).arg(number);
}

QString handledLog(int handled)
{
    return QString::number(handled) + QStringLiteral(" adet fatura yükleme sonrası Onaylandı yada Vazgeçildi...");
}

QString loggedOutText() { return QStringLiteral("Portaldan Güvenli Çıkış yapıldı..."); }
QString failureMessage() { return QStringLiteral("Portalda hata oluştu daha sonra tekrar deneyiniz !"); }
QString failureLog(const QString& description) { return failureMessage() + QStringLiteral(" - ") + description; }
QString failureStatus(const QString& description)
{
    return QStringLiteral("Portalda hata oluştu.Hata Açıklaması: ") + description;
}
QString triedText(int tries) { return QString::number(tries) + QStringLiteral(" defa denendi."); }

} // namespace kuvela::portal
