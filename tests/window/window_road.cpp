#include "window/window_road.h"

#include <QFile>
#include <QGroupBox>
#include <QStatusBar>
#include <QMainWindow>
#include <QTimer>

namespace kuvela::test::road {

namespace fs = std::filesystem;

void copyDemoFolder(const fs::path& home)
{
    const fs::path demo = fs::path(KUVELA_BINARY_DIR) / "demo";
    ASSERT_TRUE(fs::exists(demo / "Data" / "DATA.xlsx"));
    fs::copy(demo, home, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

nlohmann::json demoScenario()
{
    QFile f(QStringLiteral(KUVELA_SOURCE_DIR "/demo/portal-scenario.json"));
    if (!f.open(QIODevice::ReadOnly))
        return nlohmann::json();
    return nlohmann::json::parse(f.readAll().toStdString());
}

void logIn(Form1& w, const QString& user, const QString& password)
{
    typeInto(w.Text25, user);
    typeInto(w.Text26, password);
    click(w.Command51);
    ASSERT_TRUE(w.menusShown());
}

void pickCompany(Form1& w, const QString& company)
{
    ASSERT_TRUE(pickFromCombo(w.Combo4, company)) << company.toStdString();
}

void pickType(Form1& w, const QString& type)
{
    ASSERT_TRUE(pickFromCombo(w.Combo1, type)) << type.toStdString();
}

void pickBuyer(Form1& w, const QString& buyer)
{
    ASSERT_TRUE(pickFromCombo(w.Combo3, buyer)) << buyer.toStdString();
}

QString addLine(Form1& w, const Line& line)
{
    click(w.Command7);
    Form7* d = Form7::existing(w);
    if (!d)
        return QStringLiteral("(no line-entry dialog)");
    const auto typeOver = [](QLineEdit* box, const QString& text) {
        if (text.isEmpty())
            return;
        click(box);
        box->selectAll();
        typeKeys(box, text);
    };
    typeOver(d->Text2, line.name);
    typeOver(d->Text3, line.quantity);
    if (!line.unit.isEmpty() && !pickFromCombo(d->Combo1, line.unit))
        typeOver(d->Combo1->lineEdit(), line.unit);
    typeOver(d->Text4, line.price);
    typeOver(d->Combo2->lineEdit(), line.vat);
    click(d->Command4);
    return d->panelText(2);
}

bool uploadAndQuit(Form1& w, const std::function<void()>& whileWaiting)
{
    QTimer poll;
    bool answered = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (answered || w.Frame26->isHidden() || w.Command50->isHidden())
            return;
        answered = true;
        if (whileWaiting)
            whileWaiting();
        click(w.Command50);
    });
    poll.start(50);
    click(w.Command12);
    return answered;
}

bool uploadAndLeave(Form1& w, const std::function<void()>& whileWaiting)
{
    const bool answered = uploadAndQuit(w, whileWaiting);
    if (answered && !w.Frame26->isHidden())
        click(w.Command55);
    return answered;
}

QString focusInWindow(const QWidget& window)
{
    const QWidget* holder = window.focusWidget();
    return holder ? holder->objectName() : QStringLiteral("(none)");
}

void bringToFront(QWidget& window)
{
    // The display has no window manager to raise the window on the press: the test asks for
    // what the press would give, then clicks where no box takes the focus.
    ASSERT_TRUE(showActive(window));
    if (auto* main = qobject_cast<QMainWindow*>(&window))
        click(main->statusBar());
}

} // namespace kuvela::test::road
