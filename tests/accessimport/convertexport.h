#pragma once
// Shared by the import tests: converts the text of an Access report export
// written for the case and returns the conversion's log.
#include "accessimport/accessimport.h"
#include "accessimport/importdriver.h"

#include <QStringList>

#include <memory>

namespace ImportTest {

inline QStringList convertExportText(const QByteArray &text, const QString &reportName, Orv::Report *dst,
                                     const Orv::CAccessImportSettings &settings = {})
{
    using namespace Orv::AccessImport;
    ExportFile file;
    const Orv::Status parsed = parseExport(text, &file);
    if (!parsed)
        qFatal("%s", qPrintable(parsed.description()));
    std::unique_ptr<AccessReport> src;
    if (!AccessReport::fromExport(std::move(file), reportName, &src))
        qFatal("model");
    Orv::CAccessImport converter;
    converter.setDatabasePath(QStringLiteral("/data/shop.mdb"));
    QStringList log;
    converter.importTemplate(*src, *dst, settings, &log);
    return log;
}

} // namespace ImportTest
