#include "support/fixtures.h"

#include "platform/desktop.h"
#include "platform/paths.h"

#include <QFile>

#include <QDir>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryFile>
#include <QWidget>
#include <gtest/gtest.h>

namespace kuvela::test {

void writeWorkbook(const std::filesystem::path& file, const std::vector<SheetSpec>& sheets)
{
    QJsonArray spec;
    for (const SheetSpec& s : sheets) {
        QJsonArray cells;
        for (const auto& [ref, value] : s.cells)
            cells.append(QJsonArray{ref, value});
        spec.append(QJsonObject{{QStringLiteral("name"), s.name}, {QStringLiteral("cells"), cells}});
    }
    static const char* const kScript = R"(
import json, sys, openpyxl
spec = json.loads(sys.stdin.read())
wb = openpyxl.Workbook()
wb.remove(wb.active)
for sheet in spec:
    ws = wb.create_sheet(sheet["name"])
    for ref, value in sheet["cells"]:
        ws[ref] = value
wb.save(sys.argv[1])
)";
    std::filesystem::create_directories(file.parent_path());
    QProcess py;
    py.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(kScript), fromPath(file)});
    ASSERT_TRUE(py.waitForStarted(10000));
    py.write(QJsonDocument(spec).toJson(QJsonDocument::Compact));
    py.closeWriteChannel();
    ASSERT_TRUE(py.waitForFinished(30000));
    ASSERT_EQ(py.exitCode(), 0) << py.readAllStandardError().toStdString();
}

std::unique_ptr<RecordingDesktop> windowTestDesktop()
{
    auto desktop = std::make_unique<RecordingDesktop>();
    desktop->online = true;
    desktop->chrome = QStringLiteral("120.0.6099.71");
    const std::filesystem::path folder = programFolder() / toPath(QStringLiteral("prgDosyaları"));
    std::filesystem::create_directories(folder);
    QFile f(fromPath(folder / "ChromeDriverVersiyon.txt"));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write("[120]\r\n");
    return desktop;
}

ScopedRecordingDesktop::ScopedRecordingDesktop(std::unique_ptr<RecordingDesktop> desktop)
{
    if (!desktop)
        desktop = std::make_unique<RecordingDesktop>();
    installed_ = desktop.get();
    previous_ = Desktop::replace(std::move(desktop));
}

ScopedRecordingDesktop::~ScopedRecordingDesktop()
{
    Desktop::replace(std::move(previous_));
}

ProgramFolder::ProgramFolder()
    : previousHome_(qgetenv("KUVELA_HOME"))
    , hadHome_(qEnvironmentVariableIsSet("KUVELA_HOME"))
{
    qputenv("KUVELA_HOME", dir_.path().toUtf8());
}

ProgramFolder::~ProgramFolder()
{
    if (hadHome_)
        qputenv("KUVELA_HOME", previousHome_);
    else
        qunsetenv("KUVELA_HOME");
}

std::filesystem::path ProgramFolder::path() const
{
    return toPath(dir_.path());
}

std::filesystem::path ProgramFolder::operator/(const QString& relative) const
{
    return path() / toPath(relative);
}

void ProgramFolder::writeData(const std::vector<SheetSpec>& sheets) const
{
    writeWorkbook(path() / "Data" / "DATA.xlsx", sheets);
}

std::vector<SheetSpec> standardData(const CellList& extraSettings)
{
    CellList settings = {
        {QStringLiteral("A2"), QStringLiteral("Firma (klasör) adı")},
        {QStringLiteral("B2"), QStringLiteral("Çağdaş Gıda")},
        {QStringLiteral("C2"), QStringLiteral("Işık Yazılım")},
        {QStringLiteral("B4"), QStringLiteral("demo")},
        {QStringLiteral("B5"), 1234},
        {QStringLiteral("B25"), 2},
    };
    for (const auto& cell : extraSettings) {
        bool replaced = false;
        for (auto& existing : settings)
            if (existing.first == cell.first) {
                existing.second = cell.second;
                replaced = true;
            }
        if (!replaced)
            settings.push_back(cell);
    }
    CellList codes = {
        {QStringLiteral("H1"), QStringLiteral("Fatura Türü")},
        {QStringLiteral("H2"), QStringLiteral("SATIŞ")},
        {QStringLiteral("H3"), QStringLiteral("İADE")},
        {QStringLiteral("H4"), QStringLiteral("TEVKİFAT")},
        {QStringLiteral("J1"), QStringLiteral("Ülke")},
        {QStringLiteral("J2"), QStringLiteral("Türkiye")},
        {QStringLiteral("J3"), QStringLiteral("Almanya")},
        {QStringLiteral("J5"), QStringLiteral("after the gap")},
        {QStringLiteral("L1"), QStringLiteral("Para Birimi")},
        {QStringLiteral("L2"), QStringLiteral("Türk Lirası")},
        {QStringLiteral("L3"), QStringLiteral("Euro")},
    };
    return {{QStringLiteral("prgDATA"), settings}, {QStringLiteral("mDATA"), {}}, {QStringLiteral("kodDATA"), codes},
            {QStringLiteral("sDATA"), {}}};
}

bool disabledItself(const QWidget* w)
{
    return w->testAttribute(Qt::WA_ForceDisabled);
}

StubProgram::StubProgram(const QString& name) : name_(name)
{
    path_.set("PATH", dir_.path() + u':' + qEnvironmentVariable("PATH"));
    behave(QStringLiteral("exit 0"));
}

void StubProgram::behave(const QString& lines)
{
    QFile script(dir_.filePath(name_));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/bash\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > '%1'\n%2\n")
                     .arg(dir_.filePath(QStringLiteral("arguments")), lines)
                     .toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::remove(dir_.filePath(QStringLiteral("arguments")));
}

QStringList StubProgram::arguments() const
{
    QFile f(dir_.filePath(QStringLiteral("arguments")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList args = QString::fromUtf8(f.readAll()).split(QChar(0));
    args.removeLast();
    return args;
}

} // namespace kuvela::test
