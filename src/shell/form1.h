#pragma once
// The main window: the program's one shared state. Every road and every dialog
// reads and writes its controls and variables by name, so the names are those of
// the original form. Its methods are defined in the folder of the subsystem that
// owns them.
#ifndef Q_MOC_RUN  // moc cannot parse the C++20 library headers these pull in
#include "common/decimal.h"
#include "shell/startup.h"
#endif

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStatusBar;
class QTimer;
class QTreeWidget;
class QWidget;

namespace kuvela {

class FolderList;
class SingleInstance;

// What each area keeps beside the controls; each area defines its own struct in
// its own folder and reaches it through Form1::state<T>().
struct MasterDataState;
struct FilePaneState;
struct InvoiceEditorState;
struct EditorDialogsState;
struct PortalState;
struct DocumentsState;

class Form1 : public QMainWindow {
    Q_OBJECT

public:
    // Builds the window and runs its start-up road (Form_Load). When start-up ends
    // the program, ProgramEnd::instance().requested() tells so afterwards.
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // ---- Public variables (VB Variant and String as QString) -------------------
    QString karar;
    QString portalmsg;
    QString prmMatStr;
    QString prmYazStr;
    QString unzipleBunu;
    QString gibFatNo, gibFatVN, gibFatTar, gibFatUn, gibBelTur, gibFatDur, gibFatIpt;
    QString secildi;
    QString driVers;
    QString tamChVer;
    QString whoTriggered;
    QString prgUserName, prgUserPass;
    QString smmmID, smmmPW;
    QString userNot1, userNot2, userNot3;
    QString kdvMatStr, yazTopStr;
    QString myUrl, myPath;
    QString silSor;
    QString senderID, senderPW;
    QString gmailUser, gmailPass;
    QString yandexUser, yandexPass;
    QString ys;
    QString checkResult;
    QString clnCount;
    int dc = 2;   // decimals of money amounts; 2 until start-up reads the workbook
    int Ret = 0;  // last connection test: 0 offline, 1 online
    Decimal ekmat1, ekmat8, ekmat18;
    Decimal ekmat10, ekmat20;  // the same shares of the 10 % and 20 % rates

    // The window's own values (private to the form in the original).
    int prgVersiyon = 0;
    QString firmaVKN;
    QString firmaMukellefiyet;
    QString seciliDosya, seciliDosyaAdi;

    // The customer card's country list (kodDATA column J), read at start-up.
    QStringList ulkeListesi;

    // ---- Menus, in their order on the menu bar; all hidden until login -----------
    QMenu* prosess = nullptr;         // "İşlemler"
    QAction* faturaindir = nullptr;   //   "eArşiv Fatura İndir"
    QMenu* clients = nullptr;         // "Alıcılar"
    QAction* parameters = nullptr;    // "Tanımlar"
    QMenu* reports = nullptr;         // "Raporlar"
    QAction* abouth = nullptr;        // "Hakkında"
    QAction* help = nullptr;          // "Yardım"
    QAction* anouncements = nullptr;  // "Duyurular"
    QAction* quit = nullptr;          // "Çıkış"
    // The eight menu-bar entries in order.
    QList<QAction*> menuBarEntries() const;

    // ---- Status bar, progress --------------------------------------------------
    QStatusBar* StatusBar1 = nullptr;
    QLabel* panel(int n) const;  // 1 to 12
    void setPanel(int n, const QString& text);
    QString panelText(int n) const;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label25 = nullptr;  // stage of a long road
    // The original bar takes fractions; 0.0001 (a road's start) shows as empty.
    void setProgress(double value);
    // Every road starts so: panel 7 and Label25 emptied, bar at its start.
    void beginRoad();

    // ---- Login frame -----------------------------------------------------------
    QGroupBox* Frame24 = nullptr;
    QLineEdit* Text25 = nullptr;  // user name
    QLineEdit* Text26 = nullptr;  // password
    QLabel* Label44 = nullptr;    // "Kullanıcı"
    QLabel* Label45 = nullptr;    // "Şifre"
    QLabel* Label46 = nullptr;    // login message
    QPushButton* Command51 = nullptr;  // "Giriş"
    QLabel* Image1 = nullptr;     // logo
    QLabel* Label43 = nullptr;    // version
    QLabel* Label39 = nullptr;    // "Kuvela "
    QLabel* Label42 = nullptr;
    QLabel* Label21 = nullptr;    // version, outside the frame

    // ---- Hidden boxes used as settings, flags and value carriers ---------------
    QLineEdit* prgMOD = nullptr;       // "S" in single-company mode
    QLineEdit* user = nullptr;         // e-Arşiv portal user code of the company
    QLineEdit* pass = nullptr;         // its password
    QLineEdit* uunvan = nullptr;
    QLineEdit* aad = nullptr;
    QLineEdit* ssoyad = nullptr;
    QLineEdit* checkTotal = nullptr;
    QLineEdit* portalTotal = nullptr;
    QLineEdit* Text100 = nullptr;
    QLineEdit* Text200 = nullptr;
    QLineEdit* Text1 = nullptr;        // "2" in single-company mode
    QCheckBox* Check1 = nullptr;       // "Helped"

    // ---- Seller and buyer ------------------------------------------------------
    QComboBox* Combo4 = nullptr;  // company; its text is the company's folder name
    QLabel* Label19 = nullptr;    // "Satıcı"
    QLabel* Label1 = nullptr;     // "Alıcı"
    QLabel* Label22 = nullptr;    // company's mail title
    QLineEdit* Text19 = nullptr;  // buyer name or title (name search)
    QLineEdit* Text20 = nullptr;  // tax-number search
    QLineEdit* Text4 = nullptr;   // tax or identity number
    QLineEdit* Text3 = nullptr;   // tax office
    QLineEdit* Text2 = nullptr;   // address
    QLineEdit* Text12 = nullptr;  // country
    QLineEdit* Text5 = nullptr;   // e-mail
    QComboBox* Combo3 = nullptr;  // buyer list
    QListWidget* List2 = nullptr; // customer names (source of the name search)
    QListWidget* List3 = nullptr; // name-search results
    QListWidget* List4 = nullptr; // customer numbers (source of the number search)
    QListWidget* List5 = nullptr; // number-search results
    QGroupBox* Frame13 = nullptr; // "Vergi Numarası ile Ara"
    QGroupBox* Frame14 = nullptr; // "Firma Adıyla Ara"
    QPushButton* Command23 = nullptr;  // "X" of the name search
    QPushButton* Command24 = nullptr;  // "X" of the number search
    QPushButton* Command4 = nullptr;   // "Yeni Alıcı"

    // ---- Invoice header --------------------------------------------------------
    QComboBox* Combo1 = nullptr;  // invoice type
    QComboBox* Combo2 = nullptr;  // currency
    QLineEdit* Text7 = nullptr;   // exchange rate
    QLabel* Label7 = nullptr;     // "Döviz Kuru "
    QComboBox* Combo5 = nullptr;  // invoice-date list
    QLineEdit* Text8 = nullptr;   // invoice date
    QLabel* Label8 = nullptr;     // "Fatura Tarihi"
    QLineEdit* Text9 = nullptr;   // time
    QLabel* Label9 = nullptr;     // "Düzenleme Saati"
    QComboBox* Combo6 = nullptr;  // despatch-note date list
    QLineEdit* Text10 = nullptr;  // despatch-note date
    QLabel* Label10 = nullptr;    // "İrsaliye Tarihi "
    QLineEdit* Text11 = nullptr;  // despatch-note number
    QPlainTextEdit* Text6 = nullptr;  // invoice note
    QLabel* Label20 = nullptr;    // number of return references
    QPushButton* Command5 = nullptr;   // "Alış Fatura Bilgileri"
    QPushButton* Command7 = nullptr;   // "Faturaya Ürün/Hizmet Ekle"
    QPushButton* Command8 = nullptr;   // "Vergi Ekle"
    QPushButton* Command12 = nullptr;  // "e-Arşiv"
    QPushButton* Command6 = nullptr;   // "Excel'den Al" (bulk)
    QPushButton* Command1 = nullptr;   // "..."
    QPushButton* Command20 = nullptr;  // "Düzenlenen Belgeler"
    QPushButton* Command22 = nullptr;  // "İptal / İtiraz"
    QPushButton* Command2 = nullptr;   // "ÇIKIŞ"
    QCheckBox* Check5 = nullptr;       // "Toplu"

    // ---- Grids -----------------------------------------------------------------
    QTreeWidget* ListView1 = nullptr;  // invoice lines
    QTreeWidget* ListView2 = nullptr;  // totals
    QTreeWidget* ListView3 = nullptr;  // upload queue and log

    // ---- File pane -------------------------------------------------------------
    QGroupBox* Frame1 = nullptr;
    FolderList* Dir1 = nullptr;
    QString Dir1Path() const;
    // Points Dir1 at a folder, which runs Dir1_Change; false when it does not exist.
    bool setDir1Path(const QString& folder);
    QListWidget* File1 = nullptr;
    QListWidget* List1 = nullptr;  // the folder's workbooks
    QLabel* Label12 = nullptr;     // Dir1's path
    QGroupBox* Frame17 = nullptr;  // "Klasör Seç"
    QRadioButton* Option3 = nullptr;  // "Proforma"
    QRadioButton* Option4 = nullptr;  // "SATIŞ Faturaları"
    QRadioButton* Option5 = nullptr;  // "ALIŞ Faturaları"
    QRadioButton* Option6 = nullptr;  // "Raporlar"
    QRadioButton* Option7 = nullptr;  // "Satış Fatura PDF"
    QGroupBox* Frame16 = nullptr;  // "Klasör İşlemleri"
    QPushButton* Command3 = nullptr;   // "Excel'den Al"
    QPushButton* Command9 = nullptr;   // "Excel'e Kaydet"
    QGroupBox* Frame18 = nullptr;      // file actions
    QPushButton* Command30 = nullptr;  // "Excel'e Aktar"
    QPushButton* Command28 = nullptr;  // "Faturadan Al"
    QPushButton* Command11 = nullptr;  // "Aç"
    QPushButton* Command10 = nullptr;  // "Sil"
    QPushButton* Command15 = nullptr;  // "e-Mail"
    QPushButton* Command29 = nullptr;  // "PDF"
    QPushButton* Command26 = nullptr;  // "Ek İşlemler"
    QPushButton* Command27 = nullptr;  // "Son Faturayı İndir"

    // ---- Side panels -----------------------------------------------------------
    QGroupBox* Frame15 = nullptr;      // "Kuvela Duyuru Paneli"
    QPlainTextEdit* Text21 = nullptr;  // notice text
    QPushButton* Command25 = nullptr;  // "x"
    QLabel* Label26 = nullptr;         // "  ! " notice marker

    QGroupBox* Frame20 = nullptr;      // "Satış Faturaları klasörü ek işlemleri"
    QLabel* Label37 = nullptr;
    QComboBox* Combo7 = nullptr;       // month
    QComboBox* Combo8 = nullptr;       // year
    QLineEdit* Text23 = nullptr;       // invoice-number filter
    QLineEdit* Text24 = nullptr;       // tax-number filter
    QLineEdit* Text27 = nullptr;       // title filter
    QPushButton* Command34 = nullptr;  // "BUL"
    QPushButton* Command35 = nullptr;  // "---"
    QPushButton* Command36 = nullptr;  // "X"
    QListWidget* List7 = nullptr;      // found files, with tick boxes
    QCheckBox* Check2 = nullptr;       // "Tümünü seç"
    QLabel* Label32 = nullptr;
    QGroupBox* Frame22 = nullptr;
    QPushButton* Command37 = nullptr;  // "Muh. Fiş Oluştur"
    QPushButton* Command38 = nullptr;  // "Excel'e Çıkart"
    QPushButton* Command39 = nullptr;  // "Aç"
    QPushButton* Command40 = nullptr;  // "E-Mail"

    QGroupBox* Frame19 = nullptr;      // "Yevmiye Maddesi Ön İzleme"
    QPlainTextEdit* Text22 = nullptr;
    QLabel* Label23 = nullptr;
    QPushButton* Command32 = nullptr;  // "X"

    QGroupBox* Frame7 = nullptr;       // mail panel
    QLineEdit* Text13 = nullptr;       // "Gönderen"
    QLineEdit* Text14 = nullptr;       // "Alıcı"
    QLineEdit* Text15 = nullptr;       // "CC"
    QLineEdit* Text16 = nullptr;       // "Konu"
    QPlainTextEdit* Text17 = nullptr;  // "Mesaj"
    QLineEdit* Text18 = nullptr;       // attachment names
    QLabel* Label18 = nullptr;         // "Ek"
    QLabel* Label14 = nullptr;         // "Alıcı"
    QListWidget* List6 = nullptr;
    QGroupBox* Frame11 = nullptr;
    QRadioButton* Option1 = nullptr;   // "Yandex"
    QRadioButton* Option2 = nullptr;   // "Outlook"
    QPushButton* Command14 = nullptr;  // "Gönder"
    QPushButton* Command16 = nullptr;  // "Vazgeç"

    QGroupBox* Frame10 = nullptr;      // radio panel
    QPushButton* Command13 = nullptr;  // "Radyo 1"
    QPushButton* Command17 = nullptr;  // "Radyo 2"
    QPushButton* Command19 = nullptr;  // "Radyo 3"
    QPushButton* Command21 = nullptr;  // "Radyo 4"
    QPushButton* Command18 = nullptr;  // "X"

    // ---- Bulk parameters and upload panels -------------------------------------
    QGroupBox* Frame23 = nullptr;      // "Toplu fatura oluşturma parametreleri"
    QCheckBox* Check8 = nullptr;       // "Fatura Tarihlerini Excelden Al"
    QCheckBox* Check7 = nullptr;       // "Hata kontrolü yap"
    QRadioButton* prm1 = nullptr;      // "VKN ye göre grupla"
    QRadioButton* prm2 = nullptr;      // "Ad-Soyad/Ünvan'a göre grupla"
    QRadioButton* prm3 = nullptr;      // "Her satır ayrı fatura olsun"
    QPushButton* Command42 = nullptr;  // "X"
    QPushButton* Command43 = nullptr;  // "Devam  >>"
    QLabel* Label52 = nullptr;

    QGroupBox* Frame26 = nullptr;      // "Fatura yükleme işlemleri"
    QPlainTextEdit* Text28 = nullptr;  // log
    QGroupBox* Frame21 = nullptr;      // "Toplu Yükleme Parametreleri"
    QCheckBox* Check6 = nullptr;       // "Kaydetmeden Önce Sor"
    QCheckBox* Check4 = nullptr;       // "Otomatik Oluştur (Sorma)"
    QLineEdit* Text29 = nullptr;       // total-difference limit
    QScrollBar* VScroll1 = nullptr;
    QLabel* Label27 = nullptr;
    QPushButton* Command31 = nullptr;  // "SIRAYLA YÜKLE"
    QPushButton* Command53 = nullptr;  // "OLUŞTUR"
    QPushButton* Command41 = nullptr;  // "VAZGEÇ"
    QPushButton* Command50 = nullptr;  // "GÜVENLİ ÇIKIŞ"
    QPushButton* Command55 = nullptr;  // "X"

    // ---- Start-up, login and exit (shell) ---------------------------------------
    void Form_Load();
    // True when this is the one running copy; otherwise the program was told to end.
    bool TerminateProcess(const QString& ProcessName);
    void Command51_Click();
    void Text25_Change();
    void Text26_Change();
    void Command2_Click();
    void quit_Click();
    void Form_Unload();
    // The procedures start-up called, in order, and the steps it walked.
    const QStringList& startupTrace() const { return startupTrace_; }
    const StartupRun& startupRun() const { return startupRun_; }
    bool menusShown() const;

    // ---- Connection check and company folders (shell) ---------------------------
    void checkConnection();
    void checkNewUser();

    // ---- Browser driver, notice file (shell, later) ----------------------------
    void checkChromeVersiyon();
    void indirOku();
    void yeniVersiyonIndir();

    // ---- File pane (shell, later) ----------------------------------------------
    void dirgetir();
    void Dir1_Change();
    void Dir1_Click();
    void File1_DblClick();
    void List1_Click();
    void List1_DblClick();
    void Command10_Click();
    void Command11_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Option6_Click();
    void Option7_Click();
    void Check2_Click();
    void List7_ItemCheck();

    // ---- Side panels, about, contact (shell, later) ----------------------------
    void anouncements_Click();
    void Label26_Click();
    void Command25_Click();
    void Command26_Click();
    void Frame20_MouseMove(int button, int shift, float x, float y);  // twips
    void Option1_Click();
    void Option2_Click();
    void Text11_Change();
    void Form_Click();
    void Command13_Click();
    void Command17_Click();
    void Command18_Click();
    void Command19_Click();
    void Command21_Click();
    void abouth_Click();
    void help_Click();

    // ---- Invoice editor (invoice) ----------------------------------------------
    void temelfatura();
    void yekunal();
    // A company load's clean slate: no lines, no return references.
    void startNewInvoice();
    QString Cevir(QString SayiStr);
    QString YAZIYTL(const QString& Para);
    void Combo1_LostFocus();
    void Combo2_LostFocus();
    void Combo5_LostFocus();
    void Combo6_LostFocus();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command32_Click();
    void Command41_Click();
    void Command53_Click();
    void ListView1_ItemClick();

    // ---- Portal upload (portal) ------------------------------------------------
    void Command12_Click();
    void coklufaturayukle();
    void Command31_Click();
    void Command50_Click();
    void Command55_Click();
    void Command42_Click();
    void Command43_Click();
    void Command6_Click();
    void Check4_Click();
    void Check6_Click();
    void Check5_Click();
    void prm1_Click();
    void prm2_Click();
    void prm3_Click();
    void setHeader();
    void AutosizeColumns(QTreeWidget* listView);
    void Text28_Change();
    void VScroll1_Change();
    void Frame23_MouseMove(int button, int shift, float x, float y);  // twips
    void Frame26_MouseMove(int button, int shift, float x, float y);  // twips

    // ---- Master data (masterdata) ----------------------------------------------
    void Combo4_Change();
    void Combo4_LostFocus();
    void Label19_Click();
    void alanlariTemizle();
    void Label1_Click();
    void Combo3_LostFocus();
    void Text19_Change();
    void Text20_Change();
    void List3_DblClick();
    void List5_DblClick();
    void Command23_Click();
    void Command24_Click();
    void Label8_Click();
    void Label9_Click();
    void Label10_Click();
    void Label14_Click();
    void Command1_Click();
    void parameters_Click();
    void dbOpen();

    // ---- Download and archive (archive) ----------------------------------------
    void faturaindir_Click();
    void Command27_Click();
    void ineniUnziple();
    void checkinmismi();
    void Command20_Click();
    void Command22_Click();

    // ---- Documents, reports and e-mail (documents) -----------------------------
    void File1_Click();
    void Command28_Click();
    void Command30_Click();
    void Command29_Click();
    void Command34_Click();
    void Command35_Click();
    void Command36_Click();
    void Command37_Click();
    void Command38_Click();
    void Command39_Click();
    void Command40_Click();
    void Command14_Click();
    void Command15_Click();
    void Command16_Click();

    // ---- Test-portal samples (samples) -----------------------------------------
    void imzaSayfasiAc();
    void ornekirsaliyeyukle();

    // The area's own state, made on first use. Defined next to the area's struct:
    //   template <> MasterDataState& Form1::state<MasterDataState>();
    template <typename T> T& state();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Leaving Combo3 re-reads the buyer and leaving Combo4 reloads the company, so a box the
    // program hides or disables never hands the focus to them.
    bool focusNextPrevChild(bool next) override;

private:
    // Layout and signal wiring (form1_layout.cpp, form1_wiring.cpp).
    void buildMenus();
    void buildStatusBar();
    void buildLogin(QWidget* host);
    QWidget* buildHeader();
    QWidget* buildFilePane();
    QWidget* buildGrids();
    void buildPanels(QWidget* host);
    void buildHiddenBoxes(QWidget* host);
    void wireSignals();
    void placeLogin();
    void tickClock();

    // Start-up road helpers (form1_startup.cpp).
    std::vector<StartupStep> startupSteps();
    void traceCall(const QString& name);

    QWidget* workArea_ = nullptr;  // everything under the login frame
    std::vector<QLabel*> panels_;
    QTimer* clock_ = nullptr;
    std::unique_ptr<SingleInstance> single_;
    StoredLogin storedLogin_;
    QStringList startupTrace_;
    StartupRun startupRun_;
    bool unloading_ = false;
    // Area states; shared_ptr because their types are complete only in their areas.
    std::shared_ptr<void> masterDataState_, filePaneState_, invoiceEditorState_, editorDialogsState_,
        portalState_, documentsState_;
    friend struct AreaStateAccess;
};

// Lets an area make and reach its slot: AreaStateAccess::slot<MasterDataState>(form).
struct AreaStateAccess {
    template <typename T> static T& get(Form1& f, std::shared_ptr<void> Form1::*slot)
    {
        auto& p = f.*slot;
        if (!p)
            p = std::make_shared<T>();
        return *static_cast<T*>(p.get());
    }
    static constexpr auto masterData = &Form1::masterDataState_;
    static constexpr auto filePane = &Form1::filePaneState_;
    static constexpr auto invoiceEditor = &Form1::invoiceEditorState_;
    static constexpr auto editorDialogs = &Form1::editorDialogsState_;
    static constexpr auto portal = &Form1::portalState_;
    static constexpr auto documents = &Form1::documentsState_;
};

} // namespace kuvela
