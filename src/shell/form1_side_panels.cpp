// The main window's small panels: announcements, the drag of the extra-operations
// panel, the mail channel, the despatch-note number's upper case, the radio and the
// about window.
#include "shell/dialog_window.h"
#include "platform/settings.h"
#include "shell/about_window.h"
#include "shell/form1.h"
#include "shell/radio_control.h"
#include "shell/side_panels.h"
#include "shell/startup.h"
#include "shell/twips.h"
#include "common/regional.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QSignalBlocker>

namespace kuvela {

namespace {

// What the side panels keep between events; a child of the window, so it lives and
// dies with it.
class SidePanels : public QObject {
public:
    explicit SidePanels(QObject* parent) : QObject(parent) { setObjectName(QStringLiteral("sidePanels")); }

    float grabX = 0;  // where the pointer was in Frame20 before the left button went down
    float grabY = 0;
};

SidePanels& sidePanels(Form1& f)
{
    if (auto* s = f.findChild<QObject*>(QStringLiteral("sidePanels"), Qt::FindDirectChildrenOnly))
        return *static_cast<SidePanels*>(s);
    return *new SidePanels(&f);
}

void playStation(Form1& f, int station)
{
    f.checkConnection();  // only for the status bar: the station is set even offline
    const Settings settings = Settings::forProgram();
    // Choosing another station replaces the one playing.
    f.Frame10->findChild<RadioControl*>(QStringLiteral("WindowsMediaPlayer1"))
        ->play(radioStream(station, settings.value(QStringLiteral("radio/server1")).trimmed(),
                           settings.value(QStringLiteral("radio/server2")).trimmed()));
}

} // namespace

void Form1::anouncements_Click()
{
    Label26->hide();
    Frame15->show();
    Frame15->raise();
    for (const QSize& s : announcementGrowth())
        Frame15->resize(twipsToPixels(s.width()), twipsToPixels(s.height()));
}

void Form1::Label26_Click()
{
    anouncements_Click();
}

void Form1::Command25_Click()
{
    // The panel goes away under the focus; the lines take it.
    ListView1->setFocus(Qt::OtherFocusReason);
    Frame15->hide();
}

void Form1::Frame20_MouseMove(int button, int, float x, float y)
{
    SidePanels& s = sidePanels(*this);
    if (button != 1) {
        s.grabX = x;
        s.grabY = y;
        return;
    }
    Frame20->move(Frame20->x() + twipsToPixels(qRound(x - s.grabX)), Frame20->y() + twipsToPixels(qRound(y - s.grabY)));
}

void Form1::Option1_Click()
{
    Text13->clear();
    Text13->setText(yandexUser);
}

void Form1::Option2_Click()
{
    Text13->clear();
}

void Form1::Text11_Change()
{
    const QString upper = turkishUpper(Text11->text());
    if (upper != Text11->text()) {
        // Written without running this handler again.
        const QSignalBlocker quiet(Text11);
        Text11->setText(upper);
    }
    Text11->setCursorPosition(int(upper.size()));
}

void Form1::Form_Click()
{
    checkConnection();
    if (Ret == 0) {
        setPanel(8, QStringLiteral("OFF"));
        setPanel(7, QStringLiteral("İnternete bağlı değilsiniz...!"));
    } else {
        setPanel(8, QStringLiteral("ON"));
    }
    if (Frame10->isHidden()) {
        Frame10->setFlat(true);
        Frame10->show();
        Frame10->raise();
    }
}

void Form1::Command13_Click()
{
    playStation(*this, 1);
}

void Form1::Command17_Click()
{
    playStation(*this, 2);
}

void Form1::Command19_Click()
{
    playStation(*this, 3);
}

void Form1::Command21_Click()
{
    playStation(*this, 4);
}

void Form1::Command18_Click()
{
    ListView1->setFocus(Qt::OtherFocusReason);
    Frame10->hide();
}

void Form1::abouth_Click()
{
    Form6& about = dialogOf<Form6>(*this, LoadOnCreate::No);
    about.Form_Load();
    about.Text1->setText(versionDigits(prgVersiyon));
    about.show();
    about.raise();
    checkConnection();
}

} // namespace kuvela
