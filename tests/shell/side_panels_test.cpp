// The main window's side panels, the despatch-note number's upper case and the about
// window, on a window that stopped its start-up for want of a workbook.
#include "platform/download_test_support.h"
#include "platform/radio_player.h"
#include "shell/about_window.h"
#include "shell/dialog_window.h"
#include "shell/enter_key_check.h"
#include "shell/form9.h"
#include "shell/radio_control.h"
#include "shell/recorded_window.h"
#include "shell/side_panels.h"
#include "shell/twips.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QSettings>
#include <QTcpServer>
#include <QThread>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QAction>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace kuvela {
namespace {

TEST(SidePanelsLogic, AnnouncementPanelGrowsSquareThenWide)
{
    const std::vector<QSize> steps = announcementGrowth();
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), QSize(354, 354));
    EXPECT_EQ(steps.back(), QSize(9730, 3554));
    // The last square step, then the first one that only widens.
    const auto wide = std::find_if(steps.begin(), steps.end(), [](QSize s) { return s.width() != s.height(); });
    ASSERT_NE(wide, steps.end());
    EXPECT_EQ(*(wide - 1), QSize(3554, 3554));
    EXPECT_EQ(*wide, QSize(3586, 3554));
}

TEST(SidePanelsLogic, RadioStreams)
{
    const QString one = QStringLiteral("http://radyo.example/");
    const QString two = QStringLiteral("http://ikinci.example");
    EXPECT_EQ(radioStream(1, one, two), "http://radyo.example/stream/30/");
    EXPECT_EQ(radioStream(2, one, two), "http://radyo.example/stream/29/");
    EXPECT_EQ(radioStream(3, one, two), "http://ikinci.example:6134/");
    EXPECT_EQ(radioStream(4, one, two), "http://radyo.example/stream/166/");
    EXPECT_EQ(radioStream(1, {}, two), "");
    EXPECT_EQ(radioStream(5, one, two), "");
}

class SidePanelsTest : public ::testing::Test, protected test::RecordedWindow {
protected:
    SidePanelsTest() : w_(&open()) {}
    Form1* w_;
};

void screenshot(QWidget* w, const char* name)
{
    QDir().mkpath(QStringLiteral(KUVELA_BINARY_DIR "/screenshots"));
    EXPECT_TRUE(w->grab().save(QStringLiteral(KUVELA_BINARY_DIR "/screenshots/%1.png").arg(QLatin1String(name))));
}

TEST_F(SidePanelsTest, AnnouncementPanelOpensAtItsFinalSizeEachTime)
{
    const QSize final(twipsToPixels(9730), twipsToPixels(3554));
    w_->Label26->show();
    w_->Text21->setPlainText(QStringLiteral("Bakım duyurusu: portal 3 Mart günü kapalıdır.\r\n\r\n[Yeni] Toplu yükleme hızlandı."));
    w_->Label26_Click();
    EXPECT_FALSE(w_->Frame15->isHidden());
    EXPECT_TRUE(w_->Label26->isHidden());
    EXPECT_EQ(w_->Frame15->size(), final);
    screenshot(w_->Frame15, "announcement_panel");

    w_->Command25->click();
    EXPECT_TRUE(w_->Frame15->isHidden());
    w_->Frame15->resize(40, 40);
    w_->anouncements->trigger();
    EXPECT_FALSE(w_->Frame15->isHidden());
    EXPECT_EQ(w_->Frame15->size(), final);
}

TEST_F(SidePanelsTest, DespatchNumberInTurkishUpperCaseWithTheCaretAtTheEnd)
{
    int changes = 0;
    QObject::connect(w_->Text11, &QLineEdit::textChanged, [&changes] { ++changes; });
    struct Typing {
        QString before;
        int caret;
        QString typed;
        QString after;
    };
    const std::vector<Typing> cases = {
        {"", 0, "iı", "İI"},
        {"", 0, "abc-12ş", "ABC-12Ş"},
        {"İRS", 1, "i", "İİRS"},  // typed in the middle, the caret goes to the end
        {"A1", 2, "7", "A17"},    // nothing to change: the text is kept as it is
    };
    for (const Typing& c : cases) {
        SCOPED_TRACE(c.after.toStdString());
        w_->Text11->setText(c.before);
        w_->Text11->setCursorPosition(c.caret);
        changes = 0;
        w_->Text11->insert(c.typed);
        EXPECT_EQ(w_->Text11->text(), c.after);
        EXPECT_EQ(w_->Text11->cursorPosition(), c.after.size());
        EXPECT_EQ(changes, 1) << "the upper-casing runs no second change";
    }
}

TEST_F(SidePanelsTest, EnterInTheAboutWindowAndTheContactFormPressesNoButton)
{
    w_->abouth_Click();
    auto* about = w_->findChild<Form6*>();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(test::buttonsClickedByEnter(*about), QStringList());
    w_->help_Click();
    auto* contact = w_->findChild<Form9*>();
    ASSERT_NE(contact, nullptr);
    EXPECT_EQ(test::buttonsClickedByEnter(*contact), QStringList());
    EXPECT_TRUE(dialogs_->texts().isEmpty()) << dialogs_->texts().join('\n').toStdString();
}

TEST_F(SidePanelsTest, MailChannelShowsTheSenderOfYandexOnly)
{
    w_->yandexUser = QStringLiteral("fatura@firma.example");
    w_->Text13->setText(QStringLiteral("eski"));
    w_->Option1->setChecked(true);
    EXPECT_EQ(w_->Text13->text(), "fatura@firma.example");
    w_->Option2->setChecked(true);
    EXPECT_EQ(w_->Text13->text(), "");
    w_->yandexUser.clear();
    w_->Option1->setChecked(true);
    EXPECT_EQ(w_->Text13->text(), "");
}

TEST_F(SidePanelsTest, AboutWindowShowsTheVersions)
{
    w_->driVers = QStringLiteral("112");
    w_->tamChVer = QStringLiteral("112.0.5615.49");
    desktop_->online = false;
    w_->abouth->trigger();
    auto* about = w_->findChild<Form6*>();
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(about->isHidden());
    EXPECT_EQ(about->Text1->text(), "1.4.6");
    EXPECT_EQ(about->StatusBar1->panelText(2), "Chrome Versiyonu: 112.0.5615.49");
    EXPECT_EQ(about->StatusBar1->panelText(3), "Driver:112");
    EXPECT_EQ(w_->panelText(8), "OFF") << "the connection panel is refreshed";
    screenshot(about, "about_window");

    // A later driver update shows at the next opening, in the same window.
    w_->driVers = QStringLiteral("113");
    w_->abouth_Click();
    EXPECT_EQ(w_->findChildren<Form6*>().size(), 1);
    EXPECT_EQ(about->StatusBar1->panelText(3), "Driver:113");
}

TEST_F(SidePanelsTest, ExtraOperationsPanelFollowsALeftDrag)
{
    w_->Frame20->move(100, 80);
    const QSize size = w_->Frame20->size();
    w_->Frame20_MouseMove(0, 0, 300, 150);   // the grab point
    w_->Frame20_MouseMove(1, 0, 600, 450);
    EXPECT_EQ(w_->Frame20->pos(), QPoint(100 + twipsToPixels(300), 80 + twipsToPixels(300)));
    // Another button stores a new grab point and moves nothing.
    const QPoint at = w_->Frame20->pos();
    w_->Frame20_MouseMove(2, 0, 900, 900);
    EXPECT_EQ(w_->Frame20->pos(), at);
    w_->Frame20_MouseMove(1, 0, 900, 750);
    EXPECT_EQ(w_->Frame20->pos(), at + QPoint(0, -twipsToPixels(150)));
    EXPECT_EQ(w_->Frame20->size(), size);
}

// Waits, a bounded while, for the player to reach `state`.
bool reaches(const RadioControl& control, RadioPlayer::State state)
{
    QDeadlineTimer deadline(30000);
    while (!(control.player() && control.player()->state() == state) && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    return control.player() && control.player()->state() == state;
}

TEST_F(SidePanelsTest, RadioPlaysAStationStopsAndNamesADeadAddress)
{
    test::LocalHttpServer station{test::LocalHttpServer::Radio{}};
    QTcpServer gone;
    ASSERT_TRUE(gone.listen(QHostAddress::LocalHost));
    const QString dead = QStringLiteral("http://127.0.0.1:%1").arg(gone.serverPort());
    gone.close();
    auto setServer = [this](const QString& server) {
        QSettings ini(fromPath(programFiles() / "Kuvela.ini"), QSettings::IniFormat);
        ini.setValue(QStringLiteral("radio/server1"), server);
    };
    setServer(station.url());

    desktop_->online = false;
    w_->Form_Click();
    EXPECT_EQ(w_->panelText(8), "OFF");
    EXPECT_EQ(w_->panelText(7), "İnternete bağlı değilsiniz...!");
    EXPECT_FALSE(w_->Frame10->isHidden());
    EXPECT_TRUE(w_->Frame10->isFlat());
    auto* control = w_->Frame10->findChild<RadioControl*>(QStringLiteral("WindowsMediaPlayer1"));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->player(), nullptr) << "no player before a station is asked for";

    // Offline as far as the window knows: the station is asked for all the same.
    w_->Command13->click();
    ASSERT_TRUE(reaches(*control, RadioPlayer::State::Playing)) << control->stateText().toStdString();
    EXPECT_EQ(control->player()->url(), station.url(QStringLiteral("/stream/30/")));
    EXPECT_EQ(control->stateText(), "Çalıyor");
    EXPECT_TRUE(control->Command1->isEnabled());

    // Another station replaces it; closing the panel does not stop it.
    desktop_->online = true;
    w_->Command17->click();
    EXPECT_EQ(w_->panelText(8), "ON");
    ASSERT_TRUE(reaches(*control, RadioPlayer::State::Playing)) << control->stateText().toStdString();
    EXPECT_EQ(control->player()->url(), station.url(QStringLiteral("/stream/29/")));
    w_->Command18->click();
    EXPECT_TRUE(w_->Frame10->isHidden());
    EXPECT_EQ(control->player()->state(), RadioPlayer::State::Playing);

    control->Command1->click();
    EXPECT_EQ(control->player()->state(), RadioPlayer::State::Stopped);
    EXPECT_EQ(control->stateText(), "Durduruldu");
    EXPECT_FALSE(control->Command1->isEnabled());
    // Nothing comes late to say otherwise.
    QDeadlineTimer settle(500);
    while (!settle.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(control->player()->state(), RadioPlayer::State::Stopped);

    setServer(dead);
    w_->Form_Click();
    w_->Command21->click();
    ASSERT_TRUE(reaches(*control, RadioPlayer::State::Failed)) << control->stateText().toStdString();
    EXPECT_EQ(control->stateText(), "Radyo yayınına bağlanılamadı.");
    EXPECT_FALSE(control->Command1->isEnabled());

    // A station whose server is not set says so.
    setServer(QString());
    w_->Command13->click();
    EXPECT_EQ(control->stateText(), "Bu radyonun adresi ayarlanmamış.");
    EXPECT_TRUE(dialogs_->texts().isEmpty());
}

} // namespace
} // namespace kuvela
