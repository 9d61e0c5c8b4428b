#include "setup/kur_form.h"

#include "platform/paths.h"
#include "shell/program_end.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kuvela::setup {

namespace {

QPlainTextEdit* statusText(QWidget* parent, int lines)
{
    auto* t = new QPlainTextEdit(parent);
    t->setReadOnly(true);
    t->setFrameShape(QFrame::NoFrame);
    t->setFixedHeight(t->fontMetrics().lineSpacing() * lines + 12);
    return t;
}

} // namespace

KurForm::KurForm(SetupContext context, QWidget* parent) : QWidget(parent), context_(std::move(context))
{
    setWindowTitle(QStringLiteral("KuvelaKur'a  hoşgeldiniz..!"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    Image1 = new QLabel(this);
    Image1->setFixedSize(96, 96);
    Image1->setAlignment(Qt::AlignCenter);
    Label4 = new QLabel(this);
    Label4->setAlignment(Qt::AlignRight | Qt::AlignTop);
    top->addWidget(Image1);
    top->addStretch();
    top->addWidget(Label4);
    layout->addLayout(top);

    Text12 = statusText(this, 3);
    Text13 = statusText(this, 8);
    Text13->setFrameShape(QFrame::StyledPanel);
    Text14 = statusText(this, 3);
    layout->addWidget(Text12);
    layout->addWidget(Text13);
    layout->addWidget(Text14);

    // The component boxes are the scan's bookkeeping; Text13 shows what is missing.
    for (QLineEdit*& box : Text1) {
        box = new QLineEdit(this);
        box->setReadOnly(true);
        box->hide();
    }

    auto* buttons = new QHBoxLayout;
    Command2 = new QPushButton(QStringLiteral("Kurulumdan Çık"), this);
    Command1 = new QPushButton(QStringLiteral("Devam   >>"), this);
    Command3 = new QPushButton(QStringLiteral("Kapat"), this);
    Command3->hide();
    buttons->addWidget(Command2);
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command3);
    layout->addLayout(buttons);
    resize(560, 420);

    connect(Command1, &QPushButton::clicked, this, &KurForm::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &KurForm::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &KurForm::Command3_Click);
    Form_Load();
}

void KurForm::Form_Load()
{
    Label4->setText(kCurVers);
    Text12->setPlainText(QStringLiteral("Kur sisteminizi tarıyor. Lütfen bekleyiniz..."));
    const QPixmap logo(fromPath(context_.places.componentsFolder() / "KuvelaLogo.ico"));
    if (!logo.isNull())
        Image1->setPixmap(logo.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    scan_ = scanComponents(*context_.components);
    for (size_t i = 0; i < Text1.size(); ++i)
        Text1[i]->setText(scan_.boxes[i]);
    Text12->setPlainText(scan_.text12);
    Text13->setPlainText(scan_.text13);
    Text14->setPlainText(scan_.text14);
}

void KurForm::Command1_Click()
{
    // The road runs once; the buttons wait while it works.
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    road_ = runInstallRoad(context_, scan_.missing);
    if (road_.ended) {
        endSetup();
        return;
    }
    context_.places.desktop = road_.desktop;  // "Kapat" starts the program where it went
    Text12->setPlainText(road_.text12);
    Text13->setPlainText(road_.text13);
    Text14->setPlainText(road_.text14);
    Command1->hide();
    if (road_.stopped) {
        // Nothing was installed: only leaving is left.
        Command2->setEnabled(true);
        return;
    }
    Command3->show();
    Command2->hide();
}

void KurForm::Command2_Click()
{
    endSetup();
}

void KurForm::Command3_Click()
{
    if (startInstalledProgram(context_) == 0)
        endSetup();
}

void KurForm::endSetup()
{
    ProgramEnd::instance().end(0);
    close();
}

} // namespace kuvela::setup
