#pragma once
// Shared pieces of the export tests: small pages with texts at known places
// and ways to read outputs back.
#include "../pages/pagesamples.h"

#include "engine/export/exporter.h"

#include <QByteArray>
#include <QString>

namespace ExportCheck {

// A text at a place (twips), left aligned, not wrapped, in font 0.
Orv::TextOp text(double left, double top, double width, const QString &text,
                 Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);

// A letter page with a title, a two-column table of rows and a total.
// Rows are 300 twips apart from 1440; the total comes 1200 twips below.
Orv::Page tablePage(const QString &title, const QList<QPair<QString, QString>> &rows);

QByteArray contents(const QString &path);
// One member of a zip file, through `unzip -p`.
QByteArray unzipped(const QString &zip, const QString &member);
// Entries of a folder, hidden ones included.
QStringList entries(const QString &folder);

} // namespace ExportCheck
