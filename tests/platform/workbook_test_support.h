#pragma once
// openpyxl as the second opinion: the fixture script writes workbooks for us to read
// and reads back what we wrote.
#include "platform/paths.h"
#include "platform/workbook.h"
#include "support/fixtures.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

// Readable failure messages.
inline void PrintTo(const QJsonValue& v, std::ostream* os)
{
    *os << QJsonDocument(QJsonArray{v}).toJson(QJsonDocument::Compact).toStdString();
}
inline void PrintTo(const QJsonArray& v, std::ostream* os)
{
    *os << QJsonDocument(v).toJson(QJsonDocument::Compact).toStdString();
}

namespace kuvela::testing {

inline QString fixtureScript()
{
    return QStringLiteral(KUVELA_SOURCE_DIR "/tests/fixtures/workbook_fixtures.py");
}

// Runs the fixture script; a failure fails the calling test with the script's words.
inline QByteArray runFixtureScript(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), QStringList{fixtureScript()} + args);
    const bool finished = p.waitForFinished(120000);
    const QByteArray err = p.readAllStandardError();
    EXPECT_TRUE(finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        << "workbook_fixtures.py " << args.join(' ').toStdString() << ": " << err.toStdString();
    return p.readAllStandardOutput();
}

inline std::filesystem::path makeFixture(const QTemporaryDir& dir, const QString& kind)
{
    const QString out = dir.filePath(kind + QStringLiteral(".xlsx"));
    runFixtureScript({QStringLiteral("make"), kind, out});
    return toPath(out);
}

inline QJsonObject readWithOpenpyxl(const std::filesystem::path& file)
{
    return QJsonDocument::fromJson(runFixtureScript({QStringLiteral("read"), fromPath(file)})).object();
}

inline QJsonObject zipEntries(const std::filesystem::path& file)
{
    return QJsonDocument::fromJson(runFixtureScript({QStringLiteral("entries"), fromPath(file)})).object();
}

// A value deep in a JSON answer: at(read, "cells", "Sayfa1", "A1").
inline QJsonValue at(const QJsonValue& v)
{
    return v;
}
template <class... Rest>
QJsonValue at(const QJsonValue& v, const QString& key, const Rest&... rest)
{
    return at(v.toObject().value(key), rest...);
}
template <class... Rest>
QJsonValue at(const QJsonObject& o, const QString& key, const Rest&... rest)
{
    return at(o.value(key), rest...);
}

// The WorkbookError the call throws; a test failure (and code 0) when it throws none.
template <class F>
kuvela::WorkbookError errorOf(F&& call)
{
    try {
        call();
    } catch (const kuvela::WorkbookError& e) {
        return e;
    }
    ADD_FAILURE() << "no WorkbookError";
    return kuvela::WorkbookError(0, {});
}

inline std::string fileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

// The files of a folder, by name.
inline QStringList folderEntries(const std::filesystem::path& folder)
{
    QStringList names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names << fromPath(e.path().filename());
    names.sort();
    return names;
}

} // namespace kuvela::testing
