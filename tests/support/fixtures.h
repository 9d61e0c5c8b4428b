#pragma once
// Program folders and workbooks for the shell's tests.
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

class QWidget;

namespace kuvela { class Desktop; class RecordingDesktop; }

// Readable texts in test failures.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace kuvela::test {

// A cell reference ("B4") and its value: a string or a number, as openpyxl writes them.
using CellList = std::vector<std::pair<QString, QJsonValue>>;

struct SheetSpec {
    QString name;
    CellList cells;
};

// Writes an .xlsx with /usr/bin/python3 and openpyxl; fails the test when it cannot.
void writeWorkbook(const std::filesystem::path& file, const std::vector<SheetSpec>& sheets);

// Sets environment variables for the test and puts the old values back.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(const char* name, const QByteArray& value) { set(name, QString::fromUtf8(value)); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    void set(const char* name, const QString& value)
    {
        if (!saved_.contains(name))
            saved_.insert(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qputenv(name, value.toUtf8());
    }
    void unset(const char* name)
    {
        if (!saved_.contains(name))
            saved_.insert(name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qunsetenv(name);
    }
    ~ScopedEnv()
    {
        for (auto it = saved_.begin(); it != saved_.end(); ++it)
            it.value() ? qputenv(it.key().constData(), *it.value()) : qunsetenv(it.key().constData());
    }

private:
    QMap<QByteArray, std::optional<QByteArray>> saved_;
};

// While it lives, the roads' waits for something to appear are cut to a twentieth: for a
// step where nothing is to come (a login that never lands), which would wait them out.
struct NothingComes : ScopedEnv {
    NothingComes() : ScopedEnv("KUVELA_PRESENCE_SCALE", "0.05") {}
};

// A fresh program folder that KUVELA_HOME points at while the object lives.
class ProgramFolder {
public:
    ProgramFolder();
    ~ProgramFolder();
    std::filesystem::path path() const;
    std::filesystem::path operator/(const QString& relative) const;
    // Data/DATA.xlsx with the given sheets.
    void writeData(const std::vector<SheetSpec>& sheets) const;

private:
    QTemporaryDir dir_;
    QByteArray previousHome_;
    bool hadHome_;
};

// A workbook the start-up accepts: login "demo"/1234 (a number), two companies,
// the three code lists; `extra` cells of prgDATA are written over the defaults.
std::vector<SheetSpec> standardData(const CellList& extraSettings = {});

// A desktop for window tests: online, with a browser whose driver the current
// program folder (KUVELA_HOME) already records, so start-up's driver check passes quietly.
std::unique_ptr<RecordingDesktop> windowTestDesktop();

// Installs a recording desktop for the guard's lifetime and puts the previous one back.
class ScopedRecordingDesktop {
public:
    explicit ScopedRecordingDesktop(std::unique_ptr<RecordingDesktop> desktop = nullptr);
    ~ScopedRecordingDesktop();
    ScopedRecordingDesktop(const ScopedRecordingDesktop&) = delete;
    ScopedRecordingDesktop& operator=(const ScopedRecordingDesktop&) = delete;
    RecordingDesktop* operator->() const { return installed_; }

private:
    RecordingDesktop* installed_;
    std::unique_ptr<Desktop> previous_;
};

// Disabled by its own setting, whatever its parents are.
bool disabledItself(const QWidget* w);

// A program of that name first on PATH while the object lives: a bash script that
// records its arguments and then runs the given lines (its exit status among them).
class StubProgram {
public:
    explicit StubProgram(const QString& name);
    void behave(const QString& lines);
    // The arguments of its last run; empty when it never ran.
    QStringList arguments() const;
    QString folder() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString name_;
    ScopedEnv path_;
};

} // namespace kuvela::test
