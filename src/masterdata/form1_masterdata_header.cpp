// Header date lists, the issue time, and the mail panel's contact list.
#include "masterdata/contacts.h"
#include "masterdata/header_dates.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "shell/form1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

namespace kuvela {

void Form1::Label8_Click()
{
    Combo5->show();
    Text8->hide();
}

void Form1::Label10_Click()
{
    Combo6->show();
    Text10->hide();
}

void Form1::Label9_Click()
{
    Text9->setText(issueTimeText(Clock::instance().now().time()));
}

void Form1::Command1_Click() {}

void Form1::Label14_Click()
{
    const std::filesystem::path file = contactsFile();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        setPanel(7, QStringLiteral("Kişi listesi bulunamadı: ") + fromPath(file));
        return;
    }
    List6->clear();
    List6->addItems(contactListEntries(readContacts(file)));
}

} // namespace kuvela
