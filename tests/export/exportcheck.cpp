#include "exportcheck.h"

#include <QDir>
#include <QFile>
#include <QProcess>

using namespace Orv;

namespace ExportCheck {

TextOp text(double left, double top, double width, const QString &text, Qt::Alignment alignment)
{
    TextOp op;
    op.rect = QRectF(left, top, width, 270);
    op.text = text;
    op.alignment = alignment;
    op.wrap = false;
    return op;
}

Page tablePage(const QString &title, const QList<QPair<QString, QString>> &rows)
{
    Page page;
    page.size = QSizeF(12240, 15840);
    page.fontIndex(PageFont{});
    page.ops.push_back(text(1440, 720, 6000, title));
    double top = 1440;
    for (const auto &[name, amount] : rows) {
        page.ops.push_back(text(1440, top, 2880, name));
        page.ops.push_back(text(6000, top, 1440, amount, Qt::AlignRight | Qt::AlignTop));
        top += 300;
    }
    page.ops.push_back(LineOp{QPointF(1440, top), QPointF(7440, top), PagePen{}});
    page.ops.push_back(text(1440, top + 1200, 2880, QStringLiteral("Total")));
    return page;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray unzipped(const QString &zip, const QString &member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), zip, member});
    if (!unzip.waitForFinished(30000))
        return {};
    return unzip.readAllStandardOutput();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace ExportCheck
