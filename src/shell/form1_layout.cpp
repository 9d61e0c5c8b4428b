// The controls of the main window, with the original's names and design texts.
#include "shell/file_pane_logic.h"
#include "shell/folder_list.h"
#include "shell/form1.h"
#include "shell/radio_control.h"
#include "shell/status_panel.h"
#include "shell/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kuvela {

namespace {

template <class W>
W* named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QPushButton* button(const char* name, const QString& caption, QWidget* parent)
{
    return named(new QPushButton(caption, parent), name);
}

QLabel* label(const char* name, const QString& caption, QWidget* parent)
{
    return named(new QLabel(caption, parent), name);
}

QLineEdit* lineEdit(const char* name, QWidget* parent, const QString& text = {})
{
    auto* e = named(new QLineEdit(text, parent), name);
    return e;
}

// Combo boxes show a design text that is not one of their items, so they are editable.
QComboBox* combo(const char* name, QWidget* parent, const QString& designText = {})
{
    auto* c = named(new QComboBox(parent), name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setEditText(designText);
    return c;
}

// A user's click sets an option and never unsets it, as an option button behaves; only the
// program unsets one.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void nextCheckState() override
    {
        if (!isChecked())
            setChecked(true);
    }
};

QRadioButton* option(const char* name, const QString& caption, QWidget* parent)
{
    auto* o = named(new OptionButton(caption, parent), name);
    // The views can all be unset at once; no option unsets another by itself.
    o->setAutoExclusive(false);
    return o;
}

QGroupBox* frame(const char* name, const QString& caption, QWidget* parent)
{
    return named(new QGroupBox(caption, parent), name);
}

QTreeWidget* listView(const char* name, QWidget* parent)
{
    auto* v = named(new QTreeWidget(parent), name);
    v->setRootIsDecorated(false);
    v->setUniformRowHeights(true);
    v->setAllColumnsShowFocus(true);
    return v;
}

QLabel* caption(const QString& text, QWidget* parent)
{
    return new QLabel(text, parent);
}

// A floating panel: its close button top right, its content below; place in twips.
void floatingPanel(QGroupBox* panel, QPushButton* close, std::initializer_list<QWidget*> content, int left, int top,
                   int width, int height)
{
    auto* column = new QVBoxLayout(panel);
    column->addWidget(close, 0, Qt::AlignRight);
    for (QWidget* w : content)
        column->addWidget(w);
    panel->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

} // namespace

void Form1::buildMenus()
{
    QMenuBar* bar = menuBar();
    prosess = named(bar->addMenu(QStringLiteral("İşlemler")), "prosess");
    faturaindir = prosess->addAction(QStringLiteral("eArşiv Fatura İndir"));
    faturaindir->setObjectName(QStringLiteral("faturaindir"));
    clients = named(bar->addMenu(QStringLiteral("Alıcılar")), "clients");
    parameters = named(bar->addAction(QStringLiteral("Tanımlar")), "parameters");
    reports = named(bar->addMenu(QStringLiteral("Raporlar")), "reports");
    abouth = named(bar->addAction(QStringLiteral("Hakkında")), "abouth");
    help = named(bar->addAction(QStringLiteral("Yardım")), "help");
    anouncements = named(bar->addAction(QStringLiteral("Duyurular")), "anouncements");
    quit = named(bar->addAction(QStringLiteral("Çıkış")), "quit");
}

void Form1::buildStatusBar()
{
    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    setStatusBar(StatusBar1);
    static const char* const kDesign[] = {"Kuvela", "v1.0.9", "Chrome Versiyon", "", "Driver", "", "", "", "CAPS", "NUM", "", ""};
    for (int i = 0; i < 12; ++i) {
        auto* p = new StatusPanel(QString::fromUtf8(kDesign[i]), StatusBar1);
        p->setObjectName(QStringLiteral("panel%1").arg(i + 1));
        p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        p->setMargin(2);
        StatusBar1->addWidget(p, i == 6 ? 1 : 0);
        panels_.push_back(p);
    }
}

void Form1::buildLogin(QWidget* host)
{
    Frame24 = frame("Frame24", {}, host);
    Frame24->setAutoFillBackground(true);
    Image1 = label("Image1", {}, Frame24);
    Image1->setAlignment(Qt::AlignCenter);
    Label39 = label("Label39", QStringLiteral("Kuvela "), Frame24);
    QFont big = Label39->font();
    big.setPointSize(big.pointSize() * 3);
    big.setBold(true);
    Label39->setFont(big);
    Label42 = label("Label42", QStringLiteral("Wellcome to intelligency of the e-documents"), Frame24);
    Label43 = label("Label43", QStringLiteral("v 1.3.6"), Frame24);
    Label44 = label("Label44", QStringLiteral("Kullanıcı"), Frame24);
    Label45 = label("Label45", QStringLiteral("Şifre"), Frame24);
    Label46 = label("Label46", {}, Frame24);
    Text25 = lineEdit("Text25", Frame24);
    Text26 = lineEdit("Text26", Frame24);
    Text26->setEchoMode(QLineEdit::Password);  // never shown in clear, even before start-up sets it
    Command51 = button("Command51", QStringLiteral("Giriş"), Frame24);
    Command51->setDefault(true);

    auto* form = new QGridLayout;
    form->addWidget(Label44, 0, 0);
    form->addWidget(Text25, 0, 1);
    form->addWidget(Label45, 1, 0);
    form->addWidget(Text26, 1, 1);
    form->addWidget(Command51, 2, 1);
    form->addWidget(Label46, 3, 0, 1, 2);
    form->setColumnMinimumWidth(1, 220);

    auto* column = new QVBoxLayout(Frame24);
    column->addStretch(1);
    column->addWidget(Image1, 0, Qt::AlignHCenter);
    column->addWidget(Label39, 0, Qt::AlignHCenter);
    column->addWidget(Label42, 0, Qt::AlignHCenter);
    column->addWidget(Label43, 0, Qt::AlignHCenter);
    column->addSpacing(24);
    auto* centre = new QHBoxLayout;
    centre->addStretch(1);
    centre->addLayout(form);
    centre->addStretch(1);
    column->addLayout(centre);
    column->addStretch(2);
}

void Form1::placeLogin()
{
    Frame24->setGeometry(twipsToPixels(2), twipsToPixels(500), twipsToPixels(21000), twipsToPixels(12000));
    Frame24->raise();
}

QWidget* Form1::buildHeader()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);

    // Seller.
    Label19 = label("Label19", QStringLiteral("Satıcı"), box);
    Label19->setToolTip(QStringLiteral("Satıcı değiştir/Tüm ekranı resetle..."));
    Combo4 = combo("Combo4", box, QStringLiteral("Firmalarım"));
    Combo4->setToolTip(QStringLiteral("Açılır kutudan bir satıcı seçin..."));
    Label22 = label("Label22", {}, box);
    Check5 = named(new QCheckBox(QStringLiteral("Toplu"), box), "Check5");
    Command12 = button("Command12", QStringLiteral("e-Arşiv"), box);
    grid->addWidget(Label19, 0, 0);
    grid->addWidget(Combo4, 0, 1, 1, 3);
    grid->addWidget(Label22, 0, 4, 1, 3);
    grid->addWidget(Check5, 0, 7);
    grid->addWidget(Command12, 0, 8);

    // Buyer.
    Label1 = label("Label1", QStringLiteral("Alıcı"), box);
    Label1->setToolTip(QStringLiteral("Alıcı değiştirmek için tıklayın..."));
    Text19 = lineEdit("Text19", box);
    Text19->setToolTip(QStringLiteral("Alıcı seçmek için harf tuşlayın..."));
    Text20 = lineEdit("Text20", box);
    Text20->setToolTip(QStringLiteral("Vergi no ile aramak için rakam tuşlayın..."));
    Combo3 = combo("Combo3", box);
    Command4 = button("Command4", QStringLiteral("Yeni Alıcı"), box);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Text19, 1, 1, 1, 3);
    grid->addWidget(Text20, 1, 4);
    grid->addWidget(Combo3, 1, 5, 1, 3);
    grid->addWidget(Command4, 1, 8);

    Text4 = lineEdit("Text4", box);
    Text3 = lineEdit("Text3", box);
    Text12 = lineEdit("Text12", box);
    Text5 = lineEdit("Text5", box);
    Text2 = lineEdit("Text2", box);
    grid->addWidget(caption(QStringLiteral("Vergi No"), box), 2, 0);
    grid->addWidget(Text4, 2, 1);
    grid->addWidget(caption(QStringLiteral("Vergi Dairesi"), box), 2, 2);
    grid->addWidget(Text3, 2, 3);
    grid->addWidget(caption(QStringLiteral("Ülke"), box), 2, 4);
    grid->addWidget(Text12, 2, 5);
    grid->addWidget(caption(QStringLiteral("E-Posta"), box), 2, 6);
    grid->addWidget(Text5, 2, 7, 1, 2);
    grid->addWidget(caption(QStringLiteral("Adres"), box), 3, 0);
    grid->addWidget(Text2, 3, 1, 1, 8);

    // Invoice header.
    Combo1 = combo("Combo1", box, QString::fromUtf16(kNoInvoiceType));
    Combo2 = combo("Combo2", box, QStringLiteral("Türk Lirası"));
    Label7 = label("Label7", QStringLiteral("Döviz Kuru "), box);
    Text7 = lineEdit("Text7", box);
    grid->addWidget(Combo1, 4, 0, 1, 2);
    grid->addWidget(Combo2, 4, 2, 1, 2);
    grid->addWidget(Label7, 4, 4);
    grid->addWidget(Text7, 4, 5);

    Label8 = label("Label8", QStringLiteral("Fatura Tarihi"), box);
    Combo5 = combo("Combo5", box);
    Text8 = lineEdit("Text8", box);
    Label9 = label("Label9", QStringLiteral("Düzenleme Saati"), box);
    Label9->setToolTip(QStringLiteral("Sistem saatini kullanmak için tıklayın.."));
    Text9 = lineEdit("Text9", box);
    Label10 = label("Label10", QStringLiteral("İrsaliye Tarihi "), box);
    Combo6 = combo("Combo6", box);
    Text10 = lineEdit("Text10", box);
    Text11 = lineEdit("Text11", box);
    // A date list takes only its own entries; while it gives way to the date's box and
    // back, both keep their places, so the row never moves under the pointer.
    for (QWidget* w : std::initializer_list<QWidget*>{Combo5, Text8, Combo6, Text10}) {
        QSizePolicy keep = w->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        w->setSizePolicy(keep);
    }
    Combo5->setEditable(false);
    Combo6->setEditable(false);
    auto* dates = new QHBoxLayout;
    dates->addWidget(Label8);
    dates->addWidget(Combo5);
    dates->addWidget(Text8);
    dates->addWidget(Label9);
    dates->addWidget(Text9);
    dates->addWidget(Label10);
    dates->addWidget(Combo6);
    dates->addWidget(Text10);
    dates->addWidget(caption(QStringLiteral("İrsaliye No"), box));
    dates->addWidget(Text11);
    grid->addLayout(dates, 5, 0, 1, 9);

    // Editor buttons.
    Command7 = button("Command7", QStringLiteral("Faturaya Ürün/Hizmet Ekle"), box);
    Command8 = button("Command8", QStringLiteral("Vergi Ekle"), box);
    Command5 = button("Command5", QStringLiteral("Alış Fatura Bilgileri"), box);
    Label20 = label("Label20", QStringLiteral("0"), box);
    Command6 = button("Command6", QStringLiteral("Excel'den Al"), box);
    Command6->setToolTip(QStringLiteral("Seçilen excel dosyasından faturalar oluşturur."));
    Command1 = button("Command1", QStringLiteral("..."), box);
    Command20 = button("Command20", QStringLiteral("Düzenlenen Belgeler"), box);
    Command22 = button("Command22", QStringLiteral("İptal / İtiraz"), box);
    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{Command7, Command8, Command5, Label20, Command6, Command1})
        buttons->addWidget(w);
    buttons->addStretch(1);
    buttons->addWidget(Command20);
    buttons->addWidget(Command22);
    grid->addLayout(buttons, 6, 0, 1, 9);

    Command5->hide();
    Label20->hide();
    Command6->hide();
    return box;
}

QWidget* Form1::buildGrids()
{
    auto* box = new QWidget(this);
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(0, 0, 0, 0);
    ListView1 = listView("ListView1", box);
    ListView1->setColumnCount(0);
    ListView2 = listView("ListView2", box);
    ListView2->setColumnCount(3);
    ListView2->header()->hide();
    Text6 = named(new QPlainTextEdit(box), "Text6");
    auto* lower = new QHBoxLayout;
    lower->addWidget(Text6, 3);
    lower->addWidget(ListView2, 2);
    column->addWidget(ListView1, 3);
    column->addLayout(lower, 2);
    return box;
}

QWidget* Form1::buildFilePane()
{
    Frame1 = frame("Frame1", {}, this);
    auto* column = new QVBoxLayout(Frame1);

    Frame17 = frame("Frame17", QStringLiteral("Klasör Seç"), Frame1);
    auto* views = new QVBoxLayout(Frame17);
    Option3 = option("Option3", QStringLiteral("Proforma"), Frame17);
    Option4 = option("Option4", QStringLiteral("SATIŞ Faturaları"), Frame17);
    Option5 = option("Option5", QStringLiteral("ALIŞ Faturaları"), Frame17);
    Option6 = option("Option6", QStringLiteral("Raporlar"), Frame17);
    Option7 = option("Option7", QStringLiteral("Satış Fatura PDF"), Frame17);
    for (QWidget* w : std::initializer_list<QWidget*>{Option3, Option4, Option5, Option6, Option7})
        views->addWidget(w);
    column->addWidget(Frame17);

    Label12 = label("Label12", {}, Frame1);
    Label12->setWordWrap(true);
    column->addWidget(Label12);
    Dir1 = named(new FolderList(Frame1), "Dir1");
    column->addWidget(Dir1, 2);
    File1 = named(new QListWidget(Frame1), "File1");
    File1->setToolTip(QStringLiteral("Dosyayı açmak için üzerine çift tıklayın..."));
    column->addWidget(File1, 3);
    List1 = named(new QListWidget(Frame1), "List1");
    column->addWidget(List1, 1);

    Frame16 = frame("Frame16", QStringLiteral("Klasör İşlemleri"), Frame1);
    auto* folderActions = new QHBoxLayout(Frame16);
    Command3 = button("Command3", QStringLiteral("Excel'den Al"), Frame16);
    Command9 = button("Command9", QStringLiteral("Excel'e Kaydet"), Frame16);
    folderActions->addWidget(Command3);
    folderActions->addWidget(Command9);
    column->addWidget(Frame16);

    Frame18 = frame("Frame18", {}, Frame1);
    auto* fileActions = new QGridLayout(Frame18);
    Command11 = button("Command11", QStringLiteral("Aç"), Frame18);
    Command10 = button("Command10", QStringLiteral("Sil"), Frame18);
    Command15 = button("Command15", QStringLiteral("e-Mail"), Frame18);
    Command29 = button("Command29", QStringLiteral("PDF"), Frame18);
    Command28 = button("Command28", QStringLiteral("Faturadan Al"), Frame18);
    Command30 = button("Command30", QStringLiteral("Excel'e Aktar"), Frame18);
    fileActions->addWidget(Command11, 0, 0);
    fileActions->addWidget(Command10, 0, 1);
    fileActions->addWidget(Command15, 1, 0);
    fileActions->addWidget(Command29, 1, 1);
    fileActions->addWidget(Command28, 2, 0);
    fileActions->addWidget(Command30, 2, 1);
    column->addWidget(Frame18);

    Command26 = button("Command26", QStringLiteral("Ek İşlemler"), Frame1);
    Command27 = button("Command27", QStringLiteral("Son Faturayı İndir"), Frame1);
    column->addWidget(Command26);
    column->addWidget(Command27);

    for (QWidget* w : std::initializer_list<QWidget*>{Command10, Command11, Command15, Command29})
        w->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*>{Command26, Command27, Command28, Command30})
        w->hide();
    Frame1->setMinimumWidth(twipsToPixels(4200));
    Frame1->hide();  // start-up shows it
    return Frame1;
}

void Form1::buildPanels(QWidget* host)
{
    // Buyer searches.
    Frame14 = frame("Frame14", QStringLiteral("Firma Adıyla Ara"), host);
    List3 = named(new QListWidget(Frame14), "List3");
    List3->setToolTip(QStringLiteral("Seçmek için üzerine çift tıklayın..."));
    Command23 = button("Command23", QStringLiteral("X"), Frame14);
    floatingPanel(Frame14, Command23, {List3}, 1000, 1500, 5000, 3000);

    Frame13 = frame("Frame13", QStringLiteral("Vergi Numarası ile Ara"), host);
    List5 = named(new QListWidget(Frame13), "List5");
    List5->setToolTip(QStringLiteral("Seçmek için üzerine çift tıklayın..."));
    List4 = named(new QListWidget(Frame13), "List4");
    List4->hide();
    Command24 = button("Command24", QStringLiteral("X"), Frame13);
    floatingPanel(Frame13, Command24, {List5}, 6500, 1500, 4000, 3000);
    List2 = named(new QListWidget(host), "List2");
    List2->hide();

    // Announcements.
    Frame15 = frame("Frame15", QStringLiteral("Kuvela Duyuru Paneli"), host);
    Text21 = named(new QPlainTextEdit(Frame15), "Text21");
    Text21->setReadOnly(true);
    Command25 = button("Command25", QStringLiteral("x"), Frame15);
    floatingPanel(Frame15, Command25, {Text21}, 600, 600, 9730, 3554);

    // Extra operations on the issued invoices.
    Frame20 = frame("Frame20", QStringLiteral("Satış Faturaları klasörü ek işlemleri"), host);
    Label37 = label("Label37", {}, Frame20);
    Combo7 = combo("Combo7", Frame20);
    Combo8 = combo("Combo8", Frame20);
    Text23 = lineEdit("Text23", Frame20);
    Text24 = lineEdit("Text24", Frame20);
    Text27 = lineEdit("Text27", Frame20);
    Command34 = button("Command34", QStringLiteral("BUL"), Frame20);
    Command35 = button("Command35", QStringLiteral("---"), Frame20);
    Command36 = button("Command36", QStringLiteral("X"), Frame20);
    List7 = named(new QListWidget(Frame20), "List7");
    Check2 = named(new QCheckBox(QStringLiteral("Tümünü seç"), Frame20), "Check2");
    Label32 = label("Label32", {}, Frame20);
    Frame22 = frame("Frame22", {}, Frame20);
    Command37 = button("Command37", QStringLiteral("Muh. Fiş Oluştur"), Frame22);
    Command38 = button("Command38", QStringLiteral("Excel'e Çıkart"), Frame22);
    Command39 = button("Command39", QStringLiteral("Aç"), Frame22);
    Command40 = button("Command40", QStringLiteral("E-Mail"), Frame22);
    auto* onTicked = new QHBoxLayout(Frame22);
    for (QWidget* w : std::initializer_list<QWidget*>{Command37, Command38, Command39, Command40})
        onTicked->addWidget(w);
    auto* search = new QGridLayout(Frame20);
    search->addWidget(Label37, 0, 0, 1, 5);
    search->addWidget(Command36, 0, 5);
    search->addWidget(caption(QStringLiteral("Ay"), Frame20), 1, 0);
    search->addWidget(caption(QStringLiteral("Yıl"), Frame20), 1, 1);
    search->addWidget(caption(QStringLiteral("Ünvan"), Frame20), 1, 4);
    search->addWidget(Combo7, 2, 0);
    search->addWidget(Combo8, 2, 1);
    search->addWidget(Text23, 2, 2);
    search->addWidget(Text24, 2, 3);
    search->addWidget(Text27, 2, 4);
    search->addWidget(Command34, 2, 5);
    search->addWidget(Command35, 3, 5);
    search->addWidget(List7, 3, 0, 3, 5);
    search->addWidget(Check2, 6, 0);
    search->addWidget(Label32, 6, 1, 1, 2);
    search->addWidget(Frame22, 7, 0, 1, 6);
    Frame22->hide();
    Frame20->setGeometry(twipsToPixels(600), twipsToPixels(500), twipsToPixels(11000), twipsToPixels(5500));

    // Voucher preview.
    Frame19 = frame("Frame19", QStringLiteral("Yevmiye Maddesi Ön İzleme"), host);
    Text22 = named(new QPlainTextEdit(Frame19), "Text22");
    Label23 = label("Label23", {}, Frame19);
    Command32 = button("Command32", QStringLiteral("X"), Frame19);
    floatingPanel(Frame19, Command32, {Label23, Text22}, 800, 800, 10000, 6000);

    // Mail panel.
    Frame7 = frame("Frame7", {}, host);
    Text13 = lineEdit("Text13", Frame7);
    Text14 = lineEdit("Text14", Frame7);
    Text15 = lineEdit("Text15", Frame7);
    Text16 = lineEdit("Text16", Frame7);
    Text17 = named(new QPlainTextEdit(Frame7), "Text17");
    Text18 = lineEdit("Text18", Frame7);
    Label14 = label("Label14", QStringLiteral("Alıcı"), Frame7);
    Label14->setToolTip(QStringLiteral("Outlook kişileri için tıklayın.."));
    Label18 = label("Label18", QStringLiteral("Ek"), Frame7);
    List6 = named(new QListWidget(Frame7), "List6");
    Frame11 = frame("Frame11", {}, Frame7);
    Option1 = option("Option1", QStringLiteral("Yandex"), Frame11);
    Option2 = option("Option2", QStringLiteral("Outlook"), Frame11);
    Option1->setAutoExclusive(true);
    Option2->setAutoExclusive(true);
    auto* channel = new QHBoxLayout(Frame11);
    channel->addWidget(Option1);
    channel->addWidget(Option2);
    Command14 = button("Command14", QStringLiteral("Gönder"), Frame7);
    Command16 = button("Command16", QStringLiteral("Vazgeç"), Frame7);
    auto* mail = new QGridLayout(Frame7);
    mail->addWidget(caption(QStringLiteral("Gönderen"), Frame7), 0, 0);
    mail->addWidget(Text13, 0, 1);
    mail->addWidget(Frame11, 0, 2);
    mail->addWidget(Label14, 1, 0);
    mail->addWidget(Text14, 1, 1);
    mail->addWidget(List6, 1, 2, 4, 1);
    mail->addWidget(caption(QStringLiteral("CC"), Frame7), 2, 0);
    mail->addWidget(Text15, 2, 1);
    mail->addWidget(caption(QStringLiteral("Konu"), Frame7), 3, 0);
    mail->addWidget(Text16, 3, 1);
    mail->addWidget(caption(QStringLiteral("Mesaj"), Frame7), 4, 0);
    mail->addWidget(Text17, 4, 1);
    mail->addWidget(Label18, 5, 0);
    mail->addWidget(Text18, 5, 1);
    mail->addWidget(Command14, 6, 1, Qt::AlignRight);
    mail->addWidget(Command16, 6, 2);
    Frame7->setGeometry(twipsToPixels(800), twipsToPixels(800), twipsToPixels(11000), twipsToPixels(6500));

    // Radio.
    Frame10 = frame("Frame10", {}, host);
    Command13 = button("Command13", QStringLiteral("Radyo 1"), Frame10);
    Command17 = button("Command17", QStringLiteral("Radyo 2"), Frame10);
    Command19 = button("Command19", QStringLiteral("Radyo 3"), Frame10);
    Command21 = button("Command21", QStringLiteral("Radyo 4"), Frame10);
    Command18 = button("Command18", QStringLiteral("X"), Frame10);
    auto* radio = new QGridLayout(Frame10);
    int at = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{Command13, Command17, Command19, Command21, Command18})
        radio->addWidget(w, 0, at++);
    radio->addWidget(new RadioControl(Frame10), 1, 0, 1, at);
    Frame10->setGeometry(twipsToPixels(600), twipsToPixels(10000), twipsToPixels(7000), twipsToPixels(1000));

    // Bulk parameters.
    Frame23 = frame("Frame23", QStringLiteral("Toplu fatura oluşturma parametreleri"), host);
    Check8 = named(new QCheckBox(QStringLiteral("Fatura Tarihlerini Excelden Al"), Frame23), "Check8");
    prm1 = named(new QRadioButton(QStringLiteral("VKN ye göre grupla"), Frame23), "prm1");
    prm2 = named(new QRadioButton(QStringLiteral("Ad-Soyad/Ünvan'a göre grupla"), Frame23), "prm2");
    prm3 = named(new QRadioButton(QStringLiteral("Her satır ayrı fatura olsun"), Frame23), "prm3");
    Check7 = named(new QCheckBox(QStringLiteral("Hata kontrolü yap"), Frame23), "Check7");
    Command42 = button("Command42", QStringLiteral("X"), Frame23);
    Command43 = button("Command43", QStringLiteral("Devam  >>"), Frame23);
    Label52 = label("Label52", {}, Frame23);
    floatingPanel(Frame23, Command42, {Check8, prm1, prm2, prm3, Check7, Label52, Command43}, 2000, 2000, 5500, 4200);

    // Upload panel.
    Frame26 = frame("Frame26", QStringLiteral("Fatura yükleme işlemleri"), host);
    ListView3 = listView("ListView3", Frame26);
    ListView3->setHeaderLabels({QStringLiteral("SN"), QStringLiteral("   TARİH"), QStringLiteral("            ETTN NUMARASI"),
                                QStringLiteral("   GİB SERİ NO"), QStringLiteral("  ALICI VKN"),
                                QStringLiteral("ALICI ADI-SOYADI / ÜNVANI"), QStringLiteral("     TUTARI"),
                                QStringLiteral("FARK"), QStringLiteral("DURUM"), QString(), QString()});
    ListView3->headerItem()->setTextAlignment(6, Qt::AlignRight | Qt::AlignVCenter);
    ListView3->headerItem()->setTextAlignment(7, Qt::AlignRight | Qt::AlignVCenter);
    Text28 = named(new QPlainTextEdit(QStringLiteral("Text28\n"), Frame26), "Text28");
    Frame21 = frame("Frame21", QStringLiteral("Toplu Yükleme Parametreleri"), Frame26);
    Check6 = named(new QCheckBox(QStringLiteral("Kaydetmeden Önce Sor"), Frame21), "Check6");
    Check6->setToolTip(QStringLiteral(" Portala yüklenen her bir fatura için OLUŞTUR/VAZGEÇ seçeneği verir."));
    Check4 = named(new QCheckBox(QStringLiteral("Otomatik Oluştur (Sorma)"), Frame21), "Check4");
    Check4->setToolTip(QStringLiteral("Faturalar portala yüklenir ve onayınızı beklemeden GIB seri nosu oluşturulur."));
    Label27 = label("Label27", QStringLiteral("Dikkate alınmayacak Kuruş Farkı  "), Frame21);
    Text29 = lineEdit("Text29", Frame21, QStringLiteral("0,05"));
    VScroll1 = named(new QScrollBar(Qt::Vertical, Frame21), "VScroll1");
    // 0 to 1 lira in kuruş; the start value is the start text's 0,05.
    VScroll1->setRange(0, 100);
    VScroll1->setValue(5);
    auto* params = new QGridLayout(Frame21);
    params->addWidget(Check6, 0, 0, 1, 3);
    params->addWidget(Check4, 1, 0, 1, 3);
    params->addWidget(Label27, 2, 0);
    params->addWidget(Text29, 2, 1);
    params->addWidget(VScroll1, 2, 2);
    Command31 = button("Command31", QStringLiteral("SIRAYLA YÜKLE"), Frame26);
    Command53 = button("Command53", QStringLiteral("OLUŞTUR"), Frame26);
    Command41 = button("Command41", QStringLiteral("VAZGEÇ"), Frame26);
    Command50 = button("Command50", QStringLiteral("GÜVENLİ ÇIKIŞ"), Frame26);
    Command50->setToolTip(QStringLiteral("Portaldan Güvenli Çıkış yapar."));
    Command55 = button("Command55", QStringLiteral("X"), Frame26);
    auto* upload = new QGridLayout(Frame26);
    upload->addWidget(Command55, 0, 3, Qt::AlignRight);
    upload->addWidget(ListView3, 1, 0, 1, 4);
    upload->addWidget(Text28, 2, 0, 1, 2);
    upload->addWidget(Frame21, 2, 2, 1, 2);
    upload->addWidget(Command31, 3, 0);
    upload->addWidget(Command53, 3, 1);
    upload->addWidget(Command41, 3, 2);
    upload->addWidget(Command50, 3, 3);
    Command50->hide();
    // The answer buttons show only while a confirm-mode run waits.
    Command53->hide();
    Command41->hide();
    Frame26->setGeometry(twipsToPixels(1800), twipsToPixels(3600), twipsToPixels(15000), twipsToPixels(6000));

    for (QWidget* w : std::initializer_list<QWidget*>{Frame13, Frame14, Frame15, Frame19, Frame20, Frame7, Frame10,
                                                      Frame23, Frame26})
        w->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{Frame20, Frame23, Frame26}) {
        w->setAutoFillBackground(true);
        w->setMouseTracking(true);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{Frame13, Frame14, Frame15, Frame19, Frame7, Frame10})
        w->setAutoFillBackground(true);
}

void Form1::buildHiddenBoxes(QWidget* host)
{
    prgMOD = lineEdit("prgMOD", host);
    user = lineEdit("user", host);
    pass = lineEdit("pass", host);
    uunvan = lineEdit("uunvan", host, QStringLiteral("unvan"));
    aad = lineEdit("aad", host, QStringLiteral("ad"));
    ssoyad = lineEdit("ssoyad", host, QStringLiteral("soyad"));
    checkTotal = lineEdit("checkTotal", host, QStringLiteral("Text29"));
    portalTotal = lineEdit("portalTotal", host, QStringLiteral("Text29"));
    Text100 = lineEdit("Text100", host);
    Text200 = lineEdit("Text200", host);
    Text1 = lineEdit("Text1", host);
    Check1 = named(new QCheckBox(QStringLiteral("Helped"), host), "Check1");
    for (QWidget* w : std::initializer_list<QWidget*>{prgMOD, user, pass, uunvan, aad, ssoyad, checkTotal, portalTotal,
                                                      Text100, Text200, Text1, Check1})
        w->hide();
}

} // namespace kuvela
