// The upload log: its amounts, the difference limit, and its handlers on the main window.
#include "portal/upload_queue.h"
#include "portal/upload_window_fixture.h"
#include "shell/twips.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>

using namespace kuvela;
using namespace kuvela::portal;

TEST(UploadQueue, AmountsAndDifferencesAreReadAsTurkishNumbers)
{
    struct Row {
        QString portal, ours, difference;
    } const rows[] = {
        {"221,40", "221,4", "0,00"},       {"1.234,56", "1234,5", "0,06"}, {"100", "221,4", "-121,40"},
        {"2.212,40", "2.212,40", "0,00"},
        // A total that is no number is a failed comparison, never a blank.
        {"", "221,4", "Karşılaştırılamadı"},   {"NaN", "221,4", "Karşılaştırılamadı"},
        {"221,40", "Text29", "Karşılaştırılamadı"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(queueDifference(r.portal, r.ours), r.difference) << r.portal.toStdString();
        EXPECT_EQ(totalsCompared(r.portal, r.ours), r.difference != uncomparedDifference()) << r.portal.toStdString();
    }
    EXPECT_FALSE(withinLimit(uncomparedDifference(), "0,05"));
    EXPECT_EQ(uploadDoneText(0, false),
              "Yükleme tamamlandı, ancak portalın toplamı okunamadı! Faturayı portalda kontrol ediniz.");
    EXPECT_EQ(uploadDoneText(2, false),
              "Yükleme tamamlandı, ancak 2 adım yapılamadı ve portalın toplamı okunamadı! Faturayı portalda kontrol ediniz.");
    EXPECT_EQ(uploadDoneText(0, true), "Yükleme tamamlandı.");
    EXPECT_EQ(uploadSecondsText(3.256), "3,26");
    EXPECT_EQ(uploadSecondsText(12), "12,00");
    EXPECT_EQ(queueAmount("221,4"), "221,40");
    EXPECT_EQ(queueAmount("1.234,5"), "1.234,50");
    EXPECT_EQ(queueAmount("Text29"), "");
}

TEST(UploadQueue, TheLimitLetsNoUnverifiedInvoiceThrough)
{
    for (const char* passes : {"0,04", "0,05", "0,049", "0,051", "-10,00", "0,00"})
        EXPECT_TRUE(withinLimit(QString::fromUtf8(passes), "0,05")) << passes;
    for (const char* stopped : {"0,06", "2,00", "10,00", "0,055", "", "NaN"})
        EXPECT_FALSE(withinLimit(QString::fromUtf8(stopped), "0,05")) << stopped;
    EXPECT_FALSE(withinLimit("0,01", "beş kuruş"));
    EXPECT_EQ(limitFromScroll(0), "0");
    EXPECT_EQ(limitFromScroll(5), "0,05");
    EXPECT_EQ(limitFromScroll(10), "0,1");
    EXPECT_EQ(limitFromScroll(100), "1");
}

TEST(UploadQueue, APanelMovesOnlyWithTheLeftButtonAlone)
{
    PanelDrag drag;
    EXPECT_FALSE(drag.mouseMove(0, 150, 300));
    EXPECT_EQ(drag.mouseMove(1, 450, 200), QPointF(300, -100));
    EXPECT_EQ(drag.mouseMove(1, 150, 300), QPointF(0, 0));  // the grip stays where it was taken
    EXPECT_FALSE(drag.mouseMove(2, 600, 600));             // right button: recorded only
    EXPECT_FALSE(drag.mouseMove(3, 900, 900));             // both buttons: recorded only
    EXPECT_EQ(drag.mouseMove(1, 1000, 900), QPointF(100, 0));
}

class UploadLogWindow : public test::UploadWindowTest {};

TEST_F(UploadLogWindow, SetHeaderTitlesAlignsAndFitsWithoutTouchingTheCells)
{
    start();
    QTreeWidget* lv = form->ListView3;
    form->setHeader();
    const QFontMetrics fm(lv->header()->font());
    ASSERT_EQ(lv->columnCount(), 11);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(lv->headerItem()->text(i), queueColumns()[size_t(i)].title);
        EXPECT_EQ(Qt::Alignment(lv->headerItem()->textAlignment(i)), queueColumns()[size_t(i)].align);
        EXPECT_GE(lv->columnWidth(i), fm.horizontalAdvance(lv->headerItem()->text(i))) << i;
    }
    EXPECT_EQ(lv->headerItem()->text(5), "Adı-Soyadı / Ünvanı");
    EXPECT_EQ(Qt::Alignment(lv->headerItem()->textAlignment(3)), Qt::AlignRight | Qt::AlignVCenter);

    const UploadQueueRow row{"1", "f0000000-0000-4000-8000-000000000001", "01/02/2024", "9876543210", "Kadıköy",
                             "Çok Uzun Adlı Bir Alıcı Ticaret ve Sanayi Anonim Şirketi", "Moda Cad. 5 İstanbul",
                             "221,40", "0,00", "", draftWaitsStatus()};
    new QTreeWidgetItem(lv, row.cells());
    form->setHeader();
    const QTreeWidgetItem* item = lv->topLevelItem(0);
    const QFontMetrics cells(lv->font());
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(item->text(i), row.cells()[i]);
        EXPECT_GE(lv->columnWidth(i), cells.horizontalAdvance(item->text(i))) << i;
        EXPECT_EQ(Qt::Alignment(item->textAlignment(i)), queueColumns()[size_t(i)].align);
    }
}

TEST_F(UploadLogWindow, LimitLogBoxPanelsAndTheSafeExit)
{
    start();
    // The bar starts where the start text stands, and a step moves a kuruş.
    EXPECT_EQ(form->VScroll1->value(), 5);
    EXPECT_EQ(form->Text29->text(), "0,05");
    EXPECT_EQ(form->VScroll1->minimum(), 0);
    EXPECT_GE(form->VScroll1->maximum(), 100);
    form->VScroll1->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form->Text29->text(), "0,06");
    form->VScroll1->setValue(10);
    EXPECT_EQ(form->Text29->text(), "0,1");

    QString many;
    for (int i = 1; i <= 60; ++i)
        many += QStringLiteral("%1. fatura yüklendi.\n").arg(i);
    form->Text28->setPlainText(many);
    EXPECT_EQ(form->Text28->textCursor().position(), int(form->Text28->toPlainText().size()));

    const QPoint before = form->Frame26->pos();
    form->Frame26_MouseMove(0, 0, 150, 150);
    form->Frame26_MouseMove(2, 0, 900, 900);
    EXPECT_EQ(form->Frame26->pos(), before);
    form->Frame26_MouseMove(1, 0, 1650, 450);
    EXPECT_EQ(form->Frame26->pos(), before + QPoint(twipsToPixels(750), twipsToPixels(-450)));
    const QPoint other = form->Frame23->pos();
    form->Frame23_MouseMove(1, 0, 300, 300);  // Frame23 keeps its own grip, still at 0, 0
    EXPECT_EQ(form->Frame23->pos(), other + QPoint(twipsToPixels(300), twipsToPixels(300)));

    // "GÜVENLİ ÇIKIŞ" with no upload waiting still leaves its word and hides itself.
    form->Command12->setEnabled(false);
    form->Command50->show();
    form->Command50->click();
    EXPECT_EQ(form->karar, "QUIT");
    EXPECT_TRUE(form->Command50->isHidden());
    EXPECT_TRUE(form->Command12->isEnabled());
}
