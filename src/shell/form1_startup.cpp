// The start-up road, the login panel, the ways out, the connection test and the
// company folder trees.
#include "shell/invoice_dates.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/clock.h"
#include "platform/workbook.h"
#include "shell/company_tree.h"
#include "shell/folder_list.h"
#include "shell/form1.h"
#include "shell/program_end.h"
#include "shell/single_instance.h"
#include "shell/twips.h"
#include "shell/combo_items.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <optional>

namespace kuvela {

namespace fs = std::filesystem;

namespace {

constexpr int kEndedCode = 1;

fs::path workbookPath()
{
    return programFolder() / "Data" / "DATA.xlsx";
}

fs::path programFiles()
{
    return programFolder() / toPath(QStringLiteral("prgDosyaları"));
}


} // namespace

void Form1::traceCall(const QString& name)
{
    startupTrace_ << name;
}

bool Form1::TerminateProcess(const QString& ProcessName)
{
    single_ = std::make_unique<SingleInstance>(programFolder() / "Kuvela.lock");
    switch (single_->acquire()) {
    case SingleInstance::Outcome::Alone:
        return true;
    case SingleInstance::Outcome::AnotherRunning:
        msgBox(ProcessName + QStringLiteral(" zaten çalışıyor. İkinci defa başlatılamaz.. !"), MsgIcon::Information);
        break;
    case SingleInstance::Outcome::Failed:
        msgBox(single_->failureText(), MsgIcon::Critical);
        break;
    }
    ProgramEnd::instance().end(kEndedCode);
    return false;
}

std::vector<StartupStep> Form1::startupSteps()
{
    // Shared between the workbook steps: opened once, dropped unsaved.
    auto book = std::make_shared<std::optional<Workbook>>();
    auto settings = [book]() -> Sheet& { return (*book)->sheet(QStringLiteral("prgDATA")); };
    // A step that only runs one of the window's procedures.
    auto procedure = [this](const QString& name, void (Form1::*method)()) {
        return StartupStep{name, [this, name, method] {
                               traceCall(name);
                               (this->*method)();
                               return StepEnd::Next;
                           }};
    };

    return {
        {QStringLiteral("TerminateProcess"),
         [this] {
             traceCall(QStringLiteral("TerminateProcess"));
             return TerminateProcess(QStringLiteral("Kuvela.exe")) ? StepEnd::Next : StepEnd::EndProgram;
         }},
        {QStringLiteral("menus"),
         [this] {
             for (QAction* a : menuBarEntries())
                 a->setVisible(false);
             return StepEnd::Next;
         }},
        {QStringLiteral("Frame24"),
         [this] {
             workArea_->setEnabled(false);  // nothing under the login panel works before login
             placeLogin();
             Frame24->show();
             return StepEnd::Next;
         }},
        {QStringLiteral("logo"),
         [this] {
             const QPixmap logo(fromPath(programFiles() / "KuvelaLogo.jpg"));
             if (!logo.isNull())
                 Image1->setPixmap(logo.scaledToHeight(std::min(logo.height(), 160), Qt::SmoothTransformation));
             resize(width(), twipsToPixels(11900));
             return StepEnd::Next;
         }},
        {QStringLiteral("version"),
         [this] {
             prgVersiyon = kProgramVersion;
             const QString v = versionDigits(prgVersiyon);
             Label21->setText(QStringLiteral("Versiyon ") + v);
             Label43->setText(QStringLiteral("v ") + v);
             setPanel(2, QStringLiteral("v") + v);
             return StepEnd::Next;
         }},
        {QStringLiteral("checkChromeVersiyon"),
         [this] {
             traceCall(QStringLiteral("checkChromeVersiyon"));
             checkChromeVersiyon();
             setPanel(4, tamChVer);
             setPanel(6, driVers);
             return StepEnd::Next;
         }},
        {QStringLiteral("oldProgram"),
         [] {
             std::error_code ec;
             fs::remove(programFiles() / "Kuvela.exe", ec);
             return StepEnd::Next;
         }},
        {QStringLiteral("Dir1"),
         [this] {
             // The root of the company trees; made here when missing, as the trees are later.
             const fs::path companies = programFolder() / toPath(companiesFolderName());
             std::error_code ec;
             fs::create_directory(companies, ec);
             if (!setDir1Path(fromPath(companies)))
                 throw std::runtime_error("Firmalarım klasörü yok");
             traceCall(QStringLiteral("dirgetir"));
             dirgetir();
             Frame1->show();
             Command3->setEnabled(false);
             return StepEnd::Next;
         }},
        {QStringLiteral("DATA.xlsx"),
         [] {
             std::error_code ec;
             if (fs::exists(workbookPath(), ec))
                 return StepEnd::Next;
             msgBox(QStringLiteral("Veritabanı bulunamadı. DATA.xlsx dosyası indirin ve \\Kuvela\\Data klasörüne kopyalayın."),
                    MsgIcon::Information);
             return StepEnd::Stop;
         }},
        {QStringLiteral("prgDATA"),
         [this, book, settings] {
             // A workbook that is there but cannot be read stops start-up like a missing one.
             QString failure;
             try {
                 book->emplace(Workbook::open(workbookPath()));
             } catch (const WorkbookError& e) {
                 failure = QStringLiteral("%1 Hata No: %2").arg(e.message()).arg(e.code());
             } catch (const std::exception& e) {
                 failure = QString::fromLocal8Bit(e.what());
             }
             // A sheet that start-up reads but the workbook lacks would leave every login refused
             // without a word: it is as unreadable as a broken file.
             if (failure.isEmpty())
                 if (const QString missing = missingSheet(**book, kStartupSheets); !missing.isEmpty())
                     failure = QStringLiteral("%1 sayfası bulunamadı.").arg(missing);
             if (!failure.isEmpty()) {
                 book->reset();
                 msgBox(QStringLiteral("Veritabanı açılamadı: %1\n%2").arg(fromPath(workbookPath()), failure),
                        MsgIcon::Critical);
                 return StepEnd::Stop;
             }
             const Sheet& s = settings();
             prgUserName = s.text(4, 2);
             prgUserPass = s.text(5, 2);
             storedLogin_ = {prgUserName, prgUserPass, true};
             dc = decimalsSetting(s.value(25, 2));
             return StepEnd::Next;
         }},
        {QStringLiteral("Text26"),
         [this] {
             Text26->setEchoMode(QLineEdit::Password);
             return StepEnd::Next;
         }},
        {QStringLiteral("companyMode"),
         [this, settings] {
             const Sheet& s = settings();
             if (isSingleCompanyMode(s.value(15, 2))) {
                 prgMOD->setText(QStringLiteral("S"));
                 const QString company = s.text(2, 2);
                 Combo4->setEditText(company);
                 Text1->setText(QStringLiteral("2"));
                 // The one company's tree must be there before it is loaded.
                 traceCall(QStringLiteral("companyTree"));
                 const CompanyTreeResult tree = makeCompanyTree(programFolder(), company);
                 if (!tree.failure.isEmpty())
                     setPanel(7, tree.failure);
                 traceCall(QStringLiteral("Combo4_LostFocus"));
                 Combo4_LostFocus();
                 Combo4->setEnabled(false);
                 Label19->setEnabled(false);
             } else {
                 Combo4->setEditText(QStringLiteral("Firmalarım"));
                 addItemsKeepingText(Combo4, rowUntilEmpty(s, 2, 2));
             }
             return StepEnd::Next;
         }},
        {QStringLiteral("kodDATA"),
         [this, book] {
             const Sheet& codes = (*book)->sheet(QStringLiteral("kodDATA"));
             addItemsKeepingText(Combo1, columnUntilEmpty(codes, 8, 2));
             ulkeListesi = columnUntilEmpty(codes, 10, 2);
             addItemsKeepingText(Combo2, columnUntilEmpty(codes, 12, 2));
             return StepEnd::Next;
         }},
        {QStringLiteral("closeWorkbook"),
         [book] {
             book->reset();  // never saved
             return StepEnd::Next;
         }},
        procedure(QStringLiteral("checkNewUser"), &Form1::checkNewUser),
        procedure(QStringLiteral("temelfatura"), &Form1::temelfatura),
        {QStringLiteral("Combo5"),
         [this] {
             addItemsKeepingText(Combo5, invoiceDateList(Clock::instance().now().date()));
             return StepEnd::Next;
         }},
        {QStringLiteral("checkConnection"),
         [this] {
             traceCall(QStringLiteral("checkConnection"));
             checkConnection();
             if (Ret == 0) {
                 setPanel(8, QStringLiteral("OFF"));
                 setPanel(7, QStringLiteral("İnternete bağlı değilsiniz...!"));
                 msgBox(QStringLiteral("İnternet bağlantınız yok. Kuvela başlatılamaz !"), MsgIcon::Information);
                 ProgramEnd::instance().end(kEndedCode);
                 return StepEnd::EndProgram;
             }
             setPanel(8, QStringLiteral("ON"));
             return StepEnd::Next;
         }},
        procedure(QStringLiteral("indirOku"), &Form1::indirOku),
    };
}

void Form1::Form_Load()
{
    startupRun_ = runStartupSteps(startupSteps());
    if (!startupRun_.fatal.isEmpty()) {
        msgBox(startupRun_.fatal, MsgIcon::Critical);
        ProgramEnd::instance().end(kEndedCode);
    }
}

void Form1::Command51_Click()
{
    // The name and the password are told apart by no message: both give the same text.
    if (!loginAccepted(Text25->text(), Text26->text(), storedLogin_)) {
        Label46->setText(QStringLiteral("Kullanıcı bilgisi hatalı !"));
        return;
    }
    Frame24->hide();
    workArea_->setEnabled(true);
    for (QAction* a : menuBarEntries())
        a->setVisible(true);
}

void Form1::Text25_Change()
{
    Label46->clear();
}

void Form1::Text26_Change()
{
    Label46->clear();
}

void Form1::Command2_Click()
{
    close();
}

void Form1::quit_Click()
{
    close();
}

void Form1::Form_Unload()
{
    if (unloading_)
        return;
    unloading_ = true;
    ProgramEnd::instance().end(0);
}

void Form1::checkConnection()
{
    Ret = Desktop::instance().isOnline() ? 1 : 0;
    if (Ret == 0) {
        setPanel(8, QStringLiteral("OFF"));
        setPanel(7, QStringLiteral("İnternete bağlı değilsiniz...!"));
    } else {
        setPanel(8, QStringLiteral("ON"));
    }
}

void Form1::checkNewUser()
{
    QStringList companies;
    for (int i = 0; i < Combo4->count(); ++i)
        companies << Combo4->itemText(i);
    const CompanyTreesReport report = makeCompanyTrees(programFolder(), companies);
    QStringList problems = report.failures;
    for (const QString& name : report.refused)
        problems << QStringLiteral("Firma klasörü oluşturulamadı: %1").arg(name);
    if (!problems.isEmpty())
        setPanel(7, problems.join(QStringLiteral(" | ")));
}

} // namespace kuvela
