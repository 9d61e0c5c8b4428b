#pragma once
// DATA.xlsx written by openpyxl from tests/fixtures/make_masterdata.py.
#include "platform/paths.h"

#include <QProcess>
#include <QString>
#include <filesystem>

namespace kuvela::testdata {

inline std::filesystem::path makeMasterdataWorkbook(const QString& folder, const QString& variant = "base")
{
    const QString out = folder + QStringLiteral("/DATA-") + variant + QStringLiteral(".xlsx");
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(KUVELA_SOURCE_DIR "/tests/fixtures/make_masterdata.py"), out,
                  QStringLiteral("--variant"), variant});
    if (!python.waitForFinished(60000) || python.exitCode() != 0)
        return {};
    return toPath(out);
}

} // namespace kuvela::testdata
