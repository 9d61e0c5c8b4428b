// The program as main() runs it, with a scripted user: logs in, starts "Alınanları İndir"
// and, while the download window waits for the captcha, types the code given as the
// first argument (may be empty) and closes the main window, which ends the program for
// real. Prints what the test reads to standard error:
//   "waiting"            the road reached its wait for the code
//   "browsers 0"         no browser process of this one left once the road returned
//   "ended <code>"       the program's event loop returned
#include "archive/form3.h"
#include "shell/form1.h"
#include "shell/program_end.h"
#include "shell/window_dialogs.h"
#include "support/fake_server.h"

#include "invoice/line_entry.h"
#include "shell/kuvela_application.h"
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdio>

namespace {

using namespace kuvela;

void say(const QString& line)
{
    std::fprintf(stderr, "%s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

} // namespace

int main(int argc, char** argv)
{
    kuvela::KuvelaApplication app(argc, argv, kuvela::invoice::tooLargeToComputeText());
    const QString code = argc > 1 ? QString::fromUtf8(argv[1]) : QString();
    installWindowDialogs();
    Form1 form;
    if (ProgramEnd::instance().requested())
        return ProgramEnd::instance().code();
    form.show();

    QTimer::singleShot(0, &form, [&form, code] {
        form.Text25->setText(form.prgUserName);
        form.Text26->setText(form.prgUserPass);
        form.Command51->click();
        QPointer<Form3> f(&form3Of(form));
        f->show();
        f->bList1->setCurrentRow(0);
        f->bList1_Click();
        f->Option1->setChecked(true);
        f->Option1_Click();
        f->cList1->setCurrentRow(0);
        f->cList1_Click();

        auto* user = new QTimer(&form);
        QObject::connect(user, &QTimer::timeout, &form, [&form, f, code, user] {
            if (!f || !f->Command3->isEnabled() || f->ProgressBar1->isHidden())
                return;
            user->stop();
            say(QStringLiteral("waiting"));
            for (const QChar c : code)
                f->Text3->insert(QString(c));
            QTimer::singleShot(300, &form, [&form] { form.close(); });
        });
        user->start(20);
        f->Command1->click();
        say(QStringLiteral("browsers %1").arg(kuvela::test::browserProcessesGone() ? 0 : 1));
    });
    const int result = app.exec();
    say(QStringLiteral("ended %1").arg(result));
    return result;
}
