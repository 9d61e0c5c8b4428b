#include "documents/mail_compose.h"

namespace kuvela::documents {

ComposedMail composeMail(const ComposeInput& in)
{
    ComposedMail m;
    m.sender = in.senderID;
    m.to = in.buyerMail;
    const QString senderName = in.mailTitle.isEmpty() ? in.companyName : in.mailTitle;
    QString ending = QStringLiteral("mız ");
    if (in.whoTriggered != kArchiveRoad)
        m.attachments = in.pickedName;
    else {
        m.attachments = in.attachmentNames;
        if (in.attachmentCount > 1)
            ending = QStringLiteral("larımız ");
    }

    QString typeText, numberPart, subjectEnding, sentence;
    switch (in.view) {
    case PaneView::Proforma:
        typeText = QStringLiteral("Proforma fatura");
        subjectEnding = QStringLiteral("sı");
        break;
    case PaneView::SalesInvoices:
    case PaneView::SalesPdf:
        typeText = QStringLiteral("e-Arşiv fatura");
        numberPart = m.attachments.left(16) + u' ';
        break;
    default:
        break;
    }
    if (!typeText.isEmpty())
        sentence = ending + QStringLiteral("ek 'te gönderilmiştir.");

    m.subject = senderName + u' ' + numberPart + typeText + subjectEnding;
    m.message = QStringList{QStringLiteral("Sayın;"), in.buyerName, typeText + sentence,
                            QStringLiteral("İyi çalışmalar dileriz"), senderName}
                    .join(QStringLiteral("\r\n"));
    return m;
}

MailReadings mailPanelReadings()
{
    return {QStringLiteral("Kullanıcı adı veya şifre hatalı ! "), QStringLiteral(" İnternet bağlantı hatası ! "),
            QStringLiteral("Mail gönderimi sırasında bir hata oluştu !")};
}

QString headerField(const QString& typed)
{
    QString s = typed;
    s.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    s.replace(u'\r', u' ');
    s.replace(u'\n', u' ');
    return s;
}

QStringList splitAddresses(const QString& typed)
{
    return splitAddressList(headerField(typed));
}

} // namespace kuvela::documents
