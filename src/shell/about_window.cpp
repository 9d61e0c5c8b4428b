#include "shell/about_window.h"

#include "shell/dialog_window.h"
#include "shell/driver_maintenance.h"
#include "shell/form1.h"
#include "shell/twips.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace kuvela {

Form6::Form6(Form1& main)
    : QWidget(&main, Qt::Window)
    , main_(main)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Kuvela - Hakkında"));
    Label1 = named(new QLabel(QStringLiteral("Kuvela"), this), "Label1");
    QFont big = Label1->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    Label1->setFont(big);
    Label2 = named(new QLabel(QStringLiteral("Versiyon"), this), "Label2");
    Text1 = named(new QLineEdit(this), "Text1");
    Text1->setReadOnly(true);
    StatusBar1 = new DialogStatusBar(this, 3);

    auto* version = new QGridLayout;
    version->addWidget(Label2, 0, 0);
    version->addWidget(Text1, 0, 1);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Label1, 0, Qt::AlignHCenter);
    column->addLayout(version);
    column->addStretch(1);
    column->addWidget(StatusBar1);
    resize(twipsToPixels(6000), twipsToPixels(3000));
}

void Form6::Form_Load()
{
    const AboutVersionTexts texts = aboutVersionTexts(main_.driVers, main_.tamChVer);
    StatusBar1->setPanel(2, texts.chrome);
    StatusBar1->setPanel(3, texts.driver);
}

} // namespace kuvela
