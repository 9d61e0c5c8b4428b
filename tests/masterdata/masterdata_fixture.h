#pragma once
// DATA.xlsx written by openpyxl from tests/fixtures/make_masterdata.py, and the customer
// card's workbook made and read by tests/fixtures/make_customer_fixture.py.
#include "platform/paths.h"

#include <QProcess>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <gtest/gtest.h>

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

// make_customer_fixture.py's output, or a failure with its error text.
inline QByteArray runCustomerFixture(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            QStringList{QStringLiteral(KUVELA_SOURCE_DIR "/tests/fixtures/make_customer_fixture.py")} + args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        ADD_FAILURE() << p.readAllStandardError().toStdString();
        return {};
    }
    return p.readAllStandardOutput();
}

} // namespace kuvela::testdata
