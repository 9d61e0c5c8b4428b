// Hostile and broken files, made by tests/fixtures/make_hostile.py: each is refused
// with a Turkish message naming the file and the limit, within bounded memory and
// time, leaving the file and the unpack target as they were.
#include "child_probe.h"
#include "platform/error_numbers.h"
#include "platform/paths.h"
#include "platform/workbook.h"
#include "platform/zip_archive.h"
#include "workbook_test_support.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace kuvela {
namespace {

namespace fs = std::filesystem;
using test::runInChild;
using test::underSanitizer;

constexpr long kPeakBoundKiB = 256 * 1024;
// Processor seconds: how long the refusal takes on the wall clock is bench_workbook's.
// The worst bombs do about a second of honest work before a limit stops them (a
// million rows, 160 MiB of strings), and a machine busy with other builds stretches
// even processor time, its caches and memory shared, by up to three times; work that
// grows past the limits, or over them squared, takes minutes.
constexpr double kCpuSecondsBound = 10.0;

class HostileFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        corpus_ = new QTemporaryDir;
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral(KUVELA_SOURCE_DIR "/tests/fixtures/make_hostile.py"), corpus_->path()});
        const bool done = p.waitForFinished(120000);
        ASSERT_TRUE(done && p.exitCode() == 0) << p.readAllStandardError().toStdString();
    }
    static void TearDownTestSuite()
    {
        delete corpus_;
        corpus_ = nullptr;
    }
    static fs::path file(const char* name) { return toPath(corpus_->path()) / name; }

    static QTemporaryDir* corpus_;
};
QTemporaryDir* HostileFiles::corpus_ = nullptr;

// The library's own English must not show through the Turkish frame.
void expectTurkishOnly(const QString& message)
{
    for (const char* english : {"error", "Error", "supported", "Compression", "parsing", "element", "No such"})
        EXPECT_FALSE(message.contains(QLatin1String(english))) << message.toStdString();
}

void expectBounded(const test::ChildOutcome& o)
{
    ASSERT_TRUE(o.finished) << "the child died or hung";
    if (underSanitizer())
        return;
    EXPECT_LT(o.peakGrowthKiB, kPeakBoundKiB) << "peak memory grew by " << o.peakGrowthKiB / 1024 << " MiB";
    EXPECT_LT(o.cpuSeconds, kCpuSecondsBound);
}

QByteArray digest(const fs::path& p)
{
    QFile f(fromPath(p));
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

// Every file and folder under `folder` with a digest of each file's bytes.
QStringList snapshot(const fs::path& folder)
{
    QStringList out;
    QDirIterator it(fromPath(folder), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        out << QDir(fromPath(folder)).relativeFilePath(p) + QLatin1Char(' ')
                   + QString::fromLatin1(digest(toPath(p)).toHex());
    }
    out.sort();
    return out;
}

// Opens the workbook and reads every sheet; the answer is "ok", or the code and
// message of the WorkbookError, or what else escaped.
QString openAndReadAll(const fs::path& f)
{
    try {
        Workbook wb = Workbook::open(f);
        long cells = 0;
        for (const QString& name : wb.sheetNames())
            cells += wb.sheet(name).lastRow();
        return QStringLiteral("ok %1").arg(cells);
    } catch (const WorkbookError& e) {
        return QString::number(e.code()) + QLatin1Char(' ') + e.message();
    } catch (const std::exception& e) {
        return QStringLiteral("escaped ") + QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("escaped");
    }
}

TEST_F(HostileFiles, WorkbooksAreRefusedInTurkishWithinMemoryAndTime)
{
    struct Case {
        const char* file;
        int code;
        const char* says;
    };
    const std::vector<Case> cases = {
        {"lying_size.xlsx", WorkbookError::kOutOfMemory, "sheet1.xml bölümü boyut sınırını (128 MiB) aşıyor"},
        {"lying_sizes_parallel.xlsx", WorkbookError::kTypeMismatch, "sheet1.xml: arşiv bozuk"},
        {"cell_bomb.xlsx", WorkbookError::kOutOfMemory, "bellek sınırı (160 MiB) aşıldı"},
        {"tag_bomb.xlsx", WorkbookError::kTypeMismatch, "öğe sayısı sınırı (1048576) aşılıyor"},
        {"string_bomb.xlsx", WorkbookError::kOutOfMemory, "sharedStrings.xml okunurken çalışma kitabının bellek sınırı"},
        {"row_bomb.xlsx", WorkbookError::kTypeMismatch, "satır sayısı sınırı (1048576) aşılıyor"},
        {"deflate_bomb.xlsx", WorkbookError::kOutOfMemory, "sheet1.xml bölümü boyut sınırını (128 MiB) aşıyor"},
        {"deflate_bomb_understated.xlsx", WorkbookError::kOutOfMemory, "sheet1.xml bölümü boyut sınırını (128 MiB) aşıyor"},
        {"rows_past_limit.xlsx", WorkbookError::kTypeMismatch, "satır numarası sınırı (1048576) aşılıyor"},
        {"cells_past_limit.xlsx", WorkbookError::kTypeMismatch, "sütun sınırı (XFD) aşılıyor: XFD1 hücresinden sonra"},
        {"two_sheetdata_empty_first.xlsx", WorkbookError::kTypeMismatch, "birden fazla sheetData öğesi"},
        {"two_sheetdata_full.xlsx", WorkbookError::kTypeMismatch, "birden fazla sheetData öğesi"},
        {"two_sheetdata_empty_second.xlsx", WorkbookError::kTypeMismatch, "birden fazla sheetData öğesi"},
        {"deep_in_cell.xlsx", WorkbookError::kTypeMismatch, "iç içe öğe sınırı (256) aşılıyor"},
        {"deep_outside_cells.xlsx", WorkbookError::kTypeMismatch, "iç içe öğe sınırı (256) aşılıyor"},
        {"deep_in_strings.xlsx", WorkbookError::kTypeMismatch, "iç içe öğe sınırı (256) aşılıyor"},
        {"entities_in_sheet.xlsx", WorkbookError::kTypeMismatch, "desteklenmeyen belge türü bildirimi"},
        {"entities_in_workbook.xlsx", WorkbookError::kTypeMismatch, "workbook.xml (desteklenmeyen belge türü bildirimi"},
        {"entities_in_strings.xlsx", WorkbookError::kTypeMismatch, "desteklenmeyen belge türü bildirimi"},
        {"one_part_two_sheets.xlsx", WorkbookError::kTypeMismatch, "sheet1.xml (iki sayfa aynı bölümü gösteriyor)"},
        {"huge_shared_index.xlsx", WorkbookError::kTypeMismatch, "A1 hücresi paylaşılan metin tablosunda olmayan"},
        {"overflowing_shared_index.xlsx", WorkbookError::kTypeMismatch, "A1 hücresi paylaşılan metin tablosunda olmayan"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const fs::path f = file(c.file);
        EXPECT_LT(fs::file_size(f), 1u << 20);
        const QByteArray before = digest(f);
        const auto o = runInChild([&] { return openAndReadAll(f); });
        expectBounded(o);
        EXPECT_TRUE(o.answer.startsWith(QString::number(c.code) + QLatin1Char(' '))) << o.answer.toStdString();
        EXPECT_TRUE(o.answer.contains(QString::fromUtf8(c.file))) << o.answer.toStdString();
        EXPECT_TRUE(o.answer.contains(QString::fromUtf8(c.says))) << o.answer.toStdString();
        expectTurkishOnly(o.answer);
        EXPECT_EQ(digest(f), before);
    }
}

// The limits are settings: a lower memory limit refuses an ordinary workbook that
// fits the default, naming the limit, and the same file opens under the default.
// Numbers given explicitly may come in any order right up to the limits: only what a
// missing number implies past them is refused.
TEST_F(HostileFiles, ExplicitNumbersAtTheLimitsAreRead)
{
    Workbook wb = Workbook::open(file("limits_out_of_order.xlsx"));
    Sheet& s = wb.sheet(1);
    EXPECT_EQ(s.lastRow(), 1048576);
    EXPECT_EQ(s.lastColumn(), 16384);
    EXPECT_EQ(s.text(1048576, 16384), QStringLiteral("1"));
    EXPECT_EQ(s.text(1048576, 1), QStringLiteral("2"));
    EXPECT_EQ(s.text(3, 2), QStringLiteral("3"));
}

TEST_F(HostileFiles, WorkbookLimitsComeFromTheSettings)
{
    QTemporaryDir dir;
    const fs::path f = toPath(dir.filePath(QStringLiteral("büyük.xlsx")));
    {
        Workbook wb = Workbook::create();
        Sheet& s = wb.sheet(1);
        for (int r = 1; r <= 20000; ++r)
            for (int c = 1; c <= 4; ++c)
                s.setNumber(r, c, r * c);
        wb.saveAs(f);
    }
    const auto lowered = runInChild([&] {
        qputenv("KUVELA_WORKBOOK_MEMORYLIMITMIB", "2");
        return openAndReadAll(f);
    });
    EXPECT_TRUE(lowered.answer.startsWith(QStringLiteral("7 büyük.xlsx dosyası okunamadı: xl/worksheets/sheet1.xml okunurken "
                                                         "çalışma kitabının bellek sınırı (2 MiB) aşıldı.")))
        << lowered.answer.toStdString();
    const auto part = runInChild([&] {
        qputenv("KUVELA_WORKBOOK_PARTLIMITMIB", "1");
        return openAndReadAll(f);
    });
    EXPECT_TRUE(part.answer.contains(QStringLiteral("sheet1.xml bölümü boyut sınırını (1 MiB) aşıyor"))) << part.answer.toStdString();
    const auto total = runInChild([&] {
        qputenv("KUVELA_WORKBOOK_TOTALLIMITMIB", "1");
        return openAndReadAll(f);
    });
    EXPECT_TRUE(total.answer.contains(QStringLiteral("toplam boyut sınırı (1 MiB) aşıldı"))) << total.answer.toStdString();
    EXPECT_EQ(openAndReadAll(f), QStringLiteral("ok 20000"));
}

TEST_F(HostileFiles, ArchivesAreRefusedWholeLeavingTheTargetAsItWas)
{
    struct Case {
        const char* file;
        int code;
        QStringList says;
    };
    const std::vector<Case> cases = {
        {"dup_dot.zip", error_no::ArchiveUnsafeEntry, {"\"./a.txt\" ile \"a.txt\" aynı yere"}},
        {"dup_slashes.zip", error_no::ArchiveUnsafeEntry, {"\"d\\a.txt\" ile \"d//a.txt\" aynı yere"}},
        {"clash_file_folder.zip", error_no::ArchiveUnsafeEntry, {"\"x\" ile \"x/\" aynı yere"}},
        {"clash_file_parent.zip", error_no::ArchiveUnsafeEntry, {"\"x\" ile \"x/y.txt\" aynı yere"}},
        {"clash_later_file.zip", error_no::ArchiveUnsafeEntry, {"\"k\" ile \"k/l.txt\" aynı yere"}},
        {"zip_bomb.zip", error_no::ArchiveTooLarge, {"boyut sınırını (16 MiB) aşıyor"}},
        {"claims_ffffffff.zip", error_no::ArchiveDamaged, {"Arşiv dosyası bozuk"}},
        {"unknown_method.zip", error_no::ArchiveDamaged, {"\"paket.txt\" okunamadı: desteklenmeyen sıkıştırma yöntemi"}},
        {"encrypted.zip", error_no::ArchiveDamaged, {"\"paket.txt\" okunamadı: şifreli girdi"}},
    };
    QTemporaryDir dir;
    const fs::path target = toPath(dir.path()) / "hedef";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        // The target already holds what the archive would replace.
        fs::remove_all(target);
        for (const char* name : {"a.txt", "d/a.txt", "iyi.txt", "k/m.txt"}) {
            fs::create_directories((target / name).parent_path());
            testing::writeBytes(target / name, std::string("eski ") + name);
        }
        const QStringList before = snapshot(target);
        const fs::path f = file(c.file);
        const auto o = runInChild([&] {
            qputenv("KUVELA_ARCHIVE_LIMITMIB", "16");
            try {
                Zip::extractAll(f, target);
                return QStringLiteral("ok");
            } catch (const ZipError& e) {
                return QString::number(e.code()) + QLatin1Char(' ') + e.message();
            } catch (...) {
                return QStringLiteral("escaped");
            }
        });
        expectBounded(o);
        EXPECT_TRUE(o.answer.startsWith(QString::number(c.code) + QLatin1Char(' '))) << o.answer.toStdString();
        for (const QString& s : c.says)
            EXPECT_TRUE(o.answer.contains(s)) << o.answer.toStdString();
        EXPECT_TRUE(o.answer.contains(fromPath(f))) << o.answer.toStdString();
        expectTurkishOnly(o.answer);
        EXPECT_EQ(snapshot(target), before);
    }
    // The same limit holds for one member.
    qputenv("KUVELA_ARCHIVE_LIMITMIB", "16");
    try {
        Zip::extractOne(file("zip_bomb.zip"), QStringLiteral("bomba.bin"), toPath(dir.path()) / "tek.bin");
        ADD_FAILURE() << "not refused";
    } catch (const ZipError& e) {
        EXPECT_EQ(e.code(), error_no::ArchiveTooLarge);
    }
    qunsetenv("KUVELA_ARCHIVE_LIMITMIB");
    EXPECT_FALSE(fs::exists(toPath(dir.path()) / "tek.bin"));
    // Under the default limit the bomb's 64 MiB are unpacked as any archive is.
    EXPECT_EQ(Zip::extractAll(file("zip_bomb.zip"), target).size(), 2u);
    EXPECT_EQ(fs::file_size(target / "bomba.bin"), 64u << 20);
}

} // namespace
} // namespace kuvela
