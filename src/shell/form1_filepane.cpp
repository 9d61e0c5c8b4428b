// The file pane: the folder's lists, picking, opening and deleting the picked file.
#include "shell/form1_filepane.h"

#include "platform/desktop.h"
#include "platform/paths.h"
#include "shell/button_kind.h"
#include "shell/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace kuvela {

namespace {

void pickName(Form1& f, const QString& name)
{
    f.seciliDosyaAdi = name;
    f.seciliDosya = fromPath(toPath(f.Dir1Path()) / toPath(name));
}

QString currentText(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item ? item->text() : QString();
}

// The double-clicks in File1 and List1.
void openPicked(Form1& f, const QString& name)
{
    if (name.isEmpty())
        return;
    // The opened document shows in front of the window.
    f.lower();
    pickName(f, name);
    f.Command11_Click();
    f.Label12->setText(shownFolder(f));
    if (f.Combo1->currentText() == QStringView(kNoInvoiceType))
        f.Command3->setEnabled(true);
}

} // namespace

QString shownFolder(const Form1& form)
{
    return QDir::toNativeSeparators(form.Dir1Path());
}

PaneView currentPaneView(const Form1& f)
{
    if (f.Option3->isChecked()) return PaneView::Proforma;
    if (f.Option4->isChecked()) return PaneView::SalesInvoices;
    if (f.Option5->isChecked()) return PaneView::PurchaseInvoices;
    if (f.Option6->isChecked()) return PaneView::Reports;
    if (f.Option7->isChecked()) return PaneView::SalesPdf;
    return PaneView::None;
}

QColor paneColour(ColorKind kind, const QWidget* w)
{
    // The class's own palette: the widget's may carry a colour set earlier.
    return colorFor(kind, QApplication::palette(w));
}

void setPaneBackColour(QWidget* w, ColorKind kind)
{
    setBackColour(w, paneColour(kind, w));
}

void applyButtonState(QWidget* button, const ButtonState& state)
{
    if (state.visible)
        button->setVisible(*state.visible);
    if (state.enabled)
        button->setEnabled(*state.enabled);
    if (state.kind)
        setPaneBackColour(button, *state.kind);
}

void applyPaneButtons(Form1& f, const PaneButtons& b)
{
    applyButtonState(f.Command3, b.Command3);
    applyButtonState(f.Command6, b.Command6);
    applyButtonState(f.Command9, b.Command9);
    applyButtonState(f.Command10, b.Command10);
    applyButtonState(f.Command11, b.Command11);
    applyButtonState(f.Command15, b.Command15);
    applyButtonState(f.Command26, b.Command26);
    applyButtonState(f.Command27, b.Command27);
    applyButtonState(f.Command28, b.Command28);
    applyButtonState(f.Command29, b.Command29);
    applyButtonState(f.Command30, b.Command30);
}

void setCaptionColour(QGroupBox* frame, const QColor& colour)
{
    // Only the caption: the controls inside keep their own text colour.
    for (QWidget* child : frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QPalette own = child->palette();
        own.setColor(QPalette::WindowText, QApplication::palette(child).color(QPalette::WindowText));
        child->setPalette(own);
    }
    QPalette p = frame->palette();
    p.setColor(QPalette::WindowText, colour);
    frame->setPalette(p);
}

QColor captionColour(const QGroupBox* frame)
{
    return frame->palette().color(QPalette::WindowText);
}

void Form1::dirgetir()
{
    List1->clear();
    File1->clear();
    const QString folder = Dir1Path();
    if (folder.isEmpty())
        return;
    // Plain files only: no folders, no hidden or special entries.
    const QStringList names =
        QDir(folder).entryList(filePaneNameFilters(), QDir::Files, QDir::Name | QDir::IgnoreCase);
    File1->addItems(names);
    for (const QString& name : names)
        if (name.toLower().endsWith(u".xlsx"))
            List1->addItem(name);
}

void Form1::Dir1_Change()
{
    makeUnusable(Command29);
    Label12->setText(shownFolder(*this));
    dirgetir();
}

void Form1::Dir1_Click()
{
    for (QRadioButton* o : {Option3, Option4, Option5})
        o->setChecked(false);
}

void Form1::File1_DblClick()
{
    openPicked(*this, currentText(File1));
}

void Form1::List1_DblClick()
{
    openPicked(*this, currentText(List1));
}

void Form1::List1_Click()
{
    seciliDosya.clear();
    const QString name = currentText(List1);
    if (name.isEmpty())
        return;
    pickName(*this, name);
    Label12->setText(shownFolder(*this));
    if (Combo1->currentText() != QStringView(kNoInvoiceType)) {
        makeUsable(Command3, ButtonKind::Import);
        makeUsable(Command10, ButtonKind::Delete);
        makeUsable(Command11, ButtonKind::Open);
        makeUsable(Command15, ButtonKind::Mail);
    }
}

void Form1::Command11_Click()
{
    beginRoad();
    const QString ending = seciliDosya.right(3).toLower();
    static const QStringList kOpened = {QStringLiteral("lsx"), QStringLiteral("htm"), QStringLiteral("tml"),
                                        QStringLiteral("txt"), QStringLiteral("pdf")};
    if (!kOpened.contains(ending))
        return;
    if (ending == u"lsx")
        lower();
    const std::filesystem::path file = toPath(seciliDosya);
    if (!Desktop::instance().openFile(file))
        setPanel(7, QStringLiteral("Dosya açılamadı: ") + fromPath(file.filename()));
    Label12->setText(shownFolder(*this));
}

void Form1::Command10_Click()
{
    beginRoad();
    const DeleteResult r = deletePickedFile(seciliDosya, toPath(Dir1Path()));
    seciliDosya.clear();
    Dir1_Change();
    Label12->setText(shownFolder(*this));
    applyPaneButtons(*this, r.buttons);
    if (!r.message.isEmpty())
        setPanel(7, r.message);
}

} // namespace kuvela
