// The main window's small handlers around the invoice: the dialogs' buttons, the
// deletion of a line by a click on it, and the upload panel's two answers.
#include "invoice/editor_buttons.h"
#include "invoice/form1_editor_state.h"
#include "invoice/form2.h"
#include "invoice/form5.h"
#include "masterdata/form4.h"
#include "shell/form1.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

namespace kuvela {

namespace {

// The answer is the bulk upload's to read; the panel goes whether or not one waits.
void answerUpload(Form1& form, const QString& word)
{
    form.karar = word;
    // The panel goes away under the focus; the lines take it.
    form.ListView1->setFocus(Qt::OtherFocusReason);
    form.Frame26->hide();
    form.Command53->hide();
    form.Command41->hide();
}

} // namespace

void Form1::Command5_Click()
{
    form2(*this).showDialog();
}

void Form1::Command4_Click()
{
    beginRoad();
    form4(*this).showCard();
    Frame14->hide();
    Command23->hide();
}

void Form1::Command8_Click()
{
    form5(*this).showDialog();
}

void Form1::Command32_Click()
{
    // The preview goes away under the focus; the search results it was made from take it.
    List7->setFocus(Qt::OtherFocusReason);
    Frame19->hide();
}

void Form1::Command41_Click()
{
    answerUpload(*this, invoice::kKararVazgec);
}

void Form1::Command53_Click()
{
    answerUpload(*this, invoice::kKararOlustur);
}

void Form1::ListView1_ItemClick()
{
    QTreeWidgetItem* clicked = ListView1->currentItem();
    if (!clicked)
        return;
    const int n = ListView1->indexOfTopLevelItem(clicked) + 1;
    if (!invoice::deleteLineAsked(lineGrid(*this), n))
        return;
    showLineGrid(*this);
    yekunal();
}

} // namespace kuvela
