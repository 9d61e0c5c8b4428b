// Picking a file in File1, and the search of the issued invoices in Frame20.
#include "documents/archive_search.h"
#include "platform/paths.h"
#include "shell/form1.h"
#include "shell/form1_filepane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

namespace kuvela {

namespace {

void setAllTicks(QListWidget* list, Qt::CheckState state)
{
    for (int i = 0; i < list->count(); ++i)
        list->item(i)->setCheckState(state);
}

} // namespace

void Form1::File1_Click()
{
    const QListWidgetItem* item = File1->currentItem();
    const FilePick pick = file1Click(toPath(Dir1Path()), item ? item->text() : QString(), currentPaneView(*this));
    seciliDosya.clear();
    seciliDosyaAdi = pick.seciliDosyaAdi;
    seciliDosya = pick.seciliDosya;
    Label12->setText(shownFolder(*this));
    applyPaneButtons(*this, pick.buttons);
    if (pick.highlightFrame16)
        setCaptionColour(Frame16, paneColour(ColorKind::SystemHighlight, Frame16));
}

void Form1::Command34_Click()
{
    Check2->setChecked(false);
    Check2->hide();
    List7->clear();
    QStringList names;
    for (int i = 0; i < File1->count(); ++i)
        names << File1->item(i)->text();
    const ArchiveSearchFilter filter{Text23->text(), Text24->text(), Text27->text(), Combo7->currentText(),
                                     Combo8->currentText()};
    const ArchiveSearchResult r = searchArchive(names, filter);
    {
        const QSignalBlocker quiet(List7);  // no count while the list fills
        for (const QString& name : r.found) {
            auto* item = new QListWidgetItem(name, List7);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    Label32->setText(r.countLabel);
    Frame22->hide();
    if (r.showCheck2)
        Check2->show();
}

void Form1::Command35_Click()
{
    Frame22->hide();
    Text23->clear();
    Text24->clear();
    Text27->clear();
    Combo7->setEditText(QString());
    Combo8->setEditText(QString());
    List7->clear();
    Label32->setText(clearedArchiveCountLabel());
    Check2->hide();
}

void Form1::Command36_Click()
{
    // The panel goes away under the focus; the file list takes it.
    File1->setFocus(Qt::OtherFocusReason);
    Frame20->hide();
    Label18->setText(QStringLiteral("Ek"));
    Command35_Click();
}

void Form1::Check2_Click()
{
    if (Check2->isChecked()) {
        setAllTicks(List7, Qt::Checked);
        Frame22->show();
    } else {
        setAllTicks(List7, Qt::Unchecked);
        Label32->setText(QStringLiteral("Seçilen ") + QStringLiteral("0"));
        Frame22->hide();
    }
}

void Form1::List7_ItemCheck()
{
    int ticked = 0;
    for (int i = 0; i < List7->count(); ++i)
        if (List7->item(i)->checkState() == Qt::Checked)
            ++ticked;
    Label32->setText(QStringLiteral("Seçilen ") + QString::number(ticked));
    Frame22->setVisible(ticked >= 1);
}

} // namespace kuvela
