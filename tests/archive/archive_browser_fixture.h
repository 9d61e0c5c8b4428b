#pragma once
// A started main window over a program folder whose company has portal credentials,
// the fake portal served for it, a real clock and a small time scale.
#include "archive/form3.h"
#include "archive/invoice_filing.h"
#include "masterdata/form1_window_fixture.h"
#include "portal/fake_portal_harness.h"

#include <QProcess>
#include <fcntl.h>
#include <fstream>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kuvela::test {

// A file in a folder that cannot be taken away while the object lives: marked immutable
// (which holds for root too), else, where that is not allowed, its folder made read-only.
class UndeletableFile {
public:
    explicit UndeletableFile(const std::filesystem::path& file) : file_(file)
    {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "silinemez";
        if (!setImmutable(true)) {
            folderLocked_ = true;
            std::filesystem::permissions(file.parent_path(), std::filesystem::perms::owner_write
                                             | std::filesystem::perms::group_write | std::filesystem::perms::others_write,
                                         std::filesystem::perm_options::remove);
        }
    }
    ~UndeletableFile()
    {
        if (folderLocked_)
            std::filesystem::permissions(file_.parent_path(), std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
        else
            setImmutable(false);
        std::error_code ec;
        std::filesystem::remove(file_, ec);
    }
    UndeletableFile(const UndeletableFile&) = delete;
    UndeletableFile& operator=(const UndeletableFile&) = delete;

private:
    bool setImmutable(bool on)
    {
        const int fd = ::open(file_.c_str(), O_RDONLY);
        if (fd < 0)
            return false;
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }

    std::filesystem::path file_;
    bool folderLocked_ = false;
};

inline nlohmann::json invoice(const char* no, const char* date, nlohmann::json extra = nlohmann::json::object())
{
    nlohmann::json inv = {{"no", no}, {"vkn", "1234567890"}, {"buyer", "ABC LTD"}, {"date", date}, {"type", "SATIŞ"}};
    inv.update(extra);
    return inv;
}

class ArchiveBrowserTest : public WindowTest {
protected:
    ArchiveBrowserTest()
    {
        manualClock_ = Clock::replace(std::make_unique<Clock>());
        qputenv("KUVELA_TIME_SCALE", "0.05");
        qputenv("KUVELA_DOWNLOAD_PACKAGEWAITMS", "3000");
        qputenv("KUVELA_DOWNLOAD_TABLEWAITMS", "5000");
    }
    ~ArchiveBrowserTest() override
    {
        qunsetenv("KUVELA_TIME_SCALE");
        qunsetenv("KUVELA_DOWNLOAD_PACKAGEWAITMS");
        qunsetenv("KUVELA_DOWNLOAD_TABLEWAITMS");
    }

    // The window logged in, company "Çağdaş Gıda" with the fake's credentials.
    Form1& startWith(const nlohmann::json& scenario, const CellList& extra = {})
    {
        portal_ = std::make_unique<FakePortal>(scenario);
        CellList cells = {{"B8", "1111111"}, {"B9", "abc123"}};
        cells.insert(cells.end(), extra.begin(), extra.end());
        home_.writeData(standardData(cells));
        Form1& main = start();
        chooseCompany(company());
        return main;
    }

    static QString company() { return QStringLiteral("Çağdaş Gıda"); }
    SalesFolders folders() const { return SalesFolders::ofCompany(company()); }
    QStringList filed(const char* sub) const { return folderFileNames(folders().root / sub); }

    // The download window on the company, issued mode, the month picked.
    Form3& issuedMonth(const QString& month)
    {
        Form3& f = form3Of(*window_);
        f.bList1->setCurrentRow(int(items(f.bList1).indexOf(company())));
        f.bList1_Click();
        f.Option2_Click();
        f.msg2 = month;
        f.Command2->setEnabled(true);
        return f;
    }

    // Selected numbers at each "İndir" the fake saw.
    std::vector<size_t> selectionsAtDownload() const
    {
        std::vector<size_t> out;
        for (const auto& e : portal_->events("download"))
            out.push_back(e["selected"].size());
        return out;
    }

    static nlohmann::json readWorkbook(const std::filesystem::path& file)
    {
        QProcess py;
        py.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import json,sys,openpyxl\n"
                                 "wb=openpyxl.load_workbook(sys.argv[1])\n"
                                 "print(json.dumps({'order':wb.sheetnames,'active':wb.active.title,'sheets':{ws.title:"
                                 "[[[c.value,c.data_type] for c in row] for row in ws.iter_rows()] for ws in wb}}))"),
                  fromPath(file)});
        py.waitForFinished(30000);
        return nlohmann::json::parse(py.readAllStandardOutput().toStdString(), nullptr, false);
    }

    std::unique_ptr<FakePortal> portal_;

private:
    std::unique_ptr<Clock> manualClock_;
};

} // namespace kuvela::test
