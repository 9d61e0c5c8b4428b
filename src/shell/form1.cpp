#include "shell/form1.h"

#include "common/regional.h"
#include "platform/clock.h"
#include "shell/folder_list.h"
#include "shell/single_instance.h"
#include "shell/status_panel.h"
#include "shell/twips.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace kuvela {

Form1::Form1(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Kuvela"));
    buildMenus();
    buildStatusBar();

    auto* central = new QWidget(this);
    setCentralWidget(central);
    workArea_ = new QWidget(central);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(workArea_);

    auto* columns = new QHBoxLayout(workArea_);
    columns->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    left->addWidget(buildHeader());
    left->addWidget(buildGrids(), 1);
    auto* bottom = new QHBoxLayout;
    Command2 = new QPushButton(QStringLiteral("ÇIKIŞ"), workArea_);
    Command2->setObjectName(QStringLiteral("Command2"));
    ProgressBar1 = new QProgressBar(workArea_);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    Label25 = new QLabel(workArea_);
    Label25->setObjectName(QStringLiteral("Label25"));
    Label26 = new QLabel(QStringLiteral("  ! "), workArea_);
    Label26->setObjectName(QStringLiteral("Label26"));
    Label26->setToolTip(QStringLiteral("Yeni bir Duyuru var ! Okumak için tıklayın..."));
    Label26->hide();
    Label21 = new QLabel(QStringLiteral("Versiyon 1.0.1"), workArea_);
    Label21->setObjectName(QStringLiteral("Label21"));
    bottom->addWidget(Command2);
    bottom->addWidget(ProgressBar1, 1);
    bottom->addWidget(Label25, 1);
    bottom->addWidget(Label26);
    bottom->addWidget(Label21);
    left->addLayout(bottom);
    columns->addLayout(left, 1);
    columns->addWidget(buildFilePane());

    buildPanels(central);
    buildHiddenBoxes(central);
    buildLogin(central);
    resize(twipsToPixels(21000), twipsToPixels(11900));

    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, &Form1::tickClock);
    clock_->start(1000);
    tickClock();

    wireSignals();
    Form_Load();
}

Form1::~Form1() = default;

QList<QAction*> Form1::menuBarEntries() const
{
    return {prosess->menuAction(), clients->menuAction(), parameters, reports->menuAction(),
            abouth, help, anouncements, quit};
}

bool Form1::menusShown() const
{
    for (QAction* a : menuBarEntries())
        if (!a->isVisible())
            return false;
    return true;
}

QLabel* Form1::panel(int n) const
{
    Q_ASSERT(n >= 1 && n <= int(panels_.size()));
    return panels_.at(size_t(n - 1));
}

void Form1::setPanel(int n, const QString& text)
{
    static_cast<StatusPanel*>(panel(n))->setPanelText(text);
}

QString Form1::panelText(int n) const
{
    return panel(n)->text();
}

void Form1::setProgress(double value)
{
    ProgressBar1->setValue(std::clamp(int(std::floor(value)), 0, 100));
}

void Form1::beginRoad()
{
    setPanel(7, QString());
    Label25->clear();
    setProgress(0.0001);
}

QString Form1::Dir1Path() const
{
    return Dir1->path();
}

bool Form1::setDir1Path(const QString& folder)
{
    return Dir1->setPath(folder);
}

void Form1::tickClock()
{
    const QDateTime now = Clock::instance().now();
    setPanel(11, shortDate(now.date()));
    setPanel(12, now.time().toString(QStringLiteral("HH:mm")));
}

} // namespace kuvela
