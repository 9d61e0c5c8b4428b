#pragma once
// A main window past its start-up with an invoice composed on it, the fake portal
// served for it, and the upload's wait answered from a timer: the single upload end to
// end in real headless chromium.
#include "invoice/form1_editor_state.h"
#include "invoice/line_entry.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "portal/fake_portal_harness.h"
#include "portal/form1_portal_state.h"
#include "shell/form1.h"
#include "shell/program_end.h"
#include "support/fixtures.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace kuvela::test {

// The portal user of the fake's default scenario, and the company it belongs to.
inline const QString kPortalUser = QStringLiteral("1111111");
inline const QString kPortalPass = QStringLiteral("abc123");
inline const QString kCompanyVkn = QStringLiteral("1234567890");

struct Buyer {
    QString number;  // Text20 and Text4
    QString name;    // Text19
    QString taxOffice = QStringLiteral("Kadıköy");
    QString country = QStringLiteral("Türkiye");
    QString address = QStringLiteral("Moda Cad. 5 İstanbul");
};

class UploadWindowTest : public ::testing::Test {
protected:
    UploadWindowTest()
    {
        // Online, and a driver already recorded: the driver check before the upload is quiet.
        previousDesktop_ = Desktop::replace(windowTestDesktop());
    }
    ~UploadWindowTest() override
    {
        form.reset();
        Desktop::replace(std::move(previousDesktop_));
    }

    void start(const nlohmann::json& scenario = nlohmann::json::object())
    {
        portal = std::make_unique<FakePortal>(scenario);
        std::vector<SheetSpec> data = standardData();
        for (SheetSpec& sheet : data)
            if (sheet.name == QStringLiteral("kodDATA"))
                sheet.cells.insert(sheet.cells.end(), {{"H5", QStringLiteral("İSTİSNA")},
                                                       {"H6", QStringLiteral("ÖZEL MATRAH")},
                                                       {"H7", QStringLiteral("İHRAÇ KAYITLI")},
                                                       {"H8", QStringLiteral("KONAKLAMA VERGİSİ")}});
        home.writeData(data);
        openAndLogIn();
        form->user->setText(kPortalUser);
        form->pass->setText(kPortalPass);
        form->firmaVKN = kCompanyVkn;
        form->prgVersiyon = 146;
        dialogs->clear();
    }

    // The main window on the program folder, past its login "demo" / 1234.
    void openAndLogIn()
    {
        form = std::make_unique<Form1>();
        form->Text25->setText(QStringLiteral("demo"));
        form->Text26->setText(QStringLiteral("1234"));
        form->Command51->click();
        ASSERT_TRUE(form->menusShown());
    }

    // A new invoice of the type, its header and buyer written into the boxes.
    void invoice(int typePosition, const Buyer& buyer)
    {
        {
            const QSignalBlocker quiet(form->Combo1);
            form->Combo1->setCurrentIndex(typePosition);
        }
        invoice::LineGrid& grid = lineGrid(*form);
        grid.rows.clear();
        grid.layoutForType(invoice::invoiceKindAt(typePosition));
        typeText = form->Combo1->currentText();
        for (QLineEdit* box : {form->Text20, form->Text19, form->Text4, form->Text3, form->Text12, form->Text2}) {
            const QSignalBlocker quiet(box);
            box->clear();
        }
        const QSignalBlocker q1(form->Text20), q2(form->Text19);
        form->Text20->setText(buyer.number);
        form->Text4->setText(buyer.number);
        form->Text19->setText(buyer.name);
        form->Text3->setText(buyer.taxOffice);
        form->Text12->setText(buyer.country);
        form->Text2->setText(buyer.address);
        form->Text8->setText(QStringLiteral("01/02/2024"));
        form->Text9->setText(QStringLiteral("14:30"));
        form->Combo2->setCurrentText(QStringLiteral("Türk Lirası"));
        form->Text7->clear();
        form->Text10->clear();
        form->Text11->clear();
    }

    // A line through the line dialog's own rules, then the totals.
    void line(invoice::LineEntryFields fields)
    {
        const auto refusal = invoice::faturayaEkle(fields, typeText, form->dc, lineGrid(*form));
        ASSERT_FALSE(refusal) << refusal->message.toStdString();
        showLineGrid(*form);
        form->yekunal();
    }

    // Presses "e-Arşiv" and, once the draft waits, runs `whileWaiting` and then `answer`.
    void upload(const std::function<void()>& answer, const std::function<void()>& whileWaiting = {})
    {
        QTimer poll;
        bool answered = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (answered || form->Frame26->isHidden() || form->Command50->isHidden())
                return;
            answered = true;
            if (whileWaiting)
                whileWaiting();
            answer();
        });
        poll.start(50);
        form->Command12->click();
        waited = answered;
    }

    void safeExit() { form->Command50->click(); }

    // The next pages offer one of the portal's lists without an entry; the record starts afresh.
    void portalListWithout(const char* list, const char* entry)
    {
        nlohmann::json shorter = portal->scenario()[list];
        shorter.erase(entry);
        portal->setScenario({{list, shorter}});
        portal->resetEvents();
    }

    // The user shuts the browser by hand; its driver stays.
    static void closeBrowserByHand()
    {
        for (const qint64 pid : browserProcessesOfThisTest()) {
            QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
            if (comm.open(QIODevice::ReadOnly) && !comm.readAll().contains("driver"))
                ::kill(pid_t(pid), SIGKILL);
        }
    }

    // Whether each button and the menu entry that start a portal browser can be used.
    std::vector<bool> browserStarters() const
    {
        std::vector<bool> on;
        for (QWidget* w : {(QWidget*)form->Command12, (QWidget*)form->Command20, (QWidget*)form->Command22,
                           (QWidget*)form->Command27, (QWidget*)form->Command1})
            on.push_back(w->isEnabled());
        on.push_back(form->faturaindir->isEnabled());
        return on;
    }

    // The row of the upload log as its cells.
    QStringList queueRow(int row = 0) const
    {
        QStringList cells;
        const QTreeWidgetItem* item = form->ListView3->topLevelItem(row);
        for (int c = 0; item && c < form->ListView3->columnCount(); ++c)
            cells << item->text(c);
        return cells;
    }

    QString skipped() const
    {
        QString all;
        for (const SkippedStep& s : form->state<PortalState>().lastSkipped)
            all += s.what + QStringLiteral(" | ") + s.why + u'\n';
        return all;
    }

    // The form as the page held it when the program logged out.
    nlohmann::json loggedOutForm() const
    {
        const auto logouts = portal->events("logout");
        return logouts.size() == 1 ? logouts[0]["form"] : nlohmann::json();
    }

    ProgramFolder home;
    ScopedRecordingDialogs dialogs;
    ScopedRecordingProgramEnd end;
    std::unique_ptr<FakePortal> portal;
    std::unique_ptr<Form1> form;
    QString typeText;
    bool waited = false;

private:
    std::unique_ptr<Desktop> previousDesktop_;
};

inline invoice::LineEntryFields satisLine(const QString& name, const QString& qty, const QString& unit,
                                          const QString& price, const QString& discount, const QString& vat)
{
    invoice::LineEntryFields f;
    f.name = name;
    f.quantity = qty;
    f.unit = unit;
    f.unitPrice = price;
    f.discountRate = discount;
    f.vatRate = vat;
    return f;
}

} // namespace kuvela::test
