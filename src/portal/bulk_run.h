#pragma once
// The bulk run's plain decisions and texts: which answer creates an invoice, which
// difference may be created, what the portal's result text means for the queue row.
#include <QString>
#include <optional>

namespace kuvela::portal {

// What the run does with an uploaded invoice after the confirm wait.
enum class RunAnswer { Create, Cancel, End };
// Only "OLUŞTUR" creates and only "VAZGEÇ" cancels; "GÜVENLİ ÇIKIŞ", the panel's "X" or
// any other word ends the run with the invoice left as it is.
RunAnswer answerOf(const QString& karar);

// The limit test on the absolute difference: -10,00 does not pass 0,05. A difference or a
// limit that is no number never passes.
bool differencePasses(const QString& difference, const QString& limit);

// The queue row's status for the result text; nothing while the portal has not answered.
std::optional<QString> resultStatus(const QString& portalmsg);
bool isCreatedMessage(const QString& portalmsg);
QString noAnswerStatus();  // "Portaldan yanıt alınamadı ! Faturayı portalda kontrol ediniz."

QString runStartedStatus();                        // panel 7 on "SIRAYLA YÜKLE"
QString runStartedLog();                           // Text28 on "SIRAYLA YÜKLE"
QString uploadedText(int queued, int number);      // "3/1. fatura yüklendi."
QString handledLog(int handled);                   // "2 adet fatura yükleme sonrası ..."
QString loggedOutText();                           // "Portaldan Güvenli Çıkış yapıldı..."
QString failureMessage();                          // the failure road's message box
QString failureLog(const QString& description);    // its Text28 line
QString failureStatus(const QString& description); // its panel 7
QString triedText(int tries);                      // "3 defa denendi."

} // namespace kuvela::portal
