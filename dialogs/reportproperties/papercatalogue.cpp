#include "dialogs/reportproperties/papercatalogue.h"

#include "engine/core/units.h"

#include <QLocale>
#include <QPageSize>
#include <QPrinterInfo>

#include <cmath>

namespace Orv {

namespace {

int localeDefault()
{
    return QLocale().measurementSystem() == QLocale::MetricSystem ? 9 : 1;
}

} // namespace

QSizeF PaperCatalogue::standardSize(int number)
{
    if (number <= 0 || number == 256)
        return {};
    const QPageSize::PageSizeId id = QPageSize::id(number);
    if (id == QPageSize::Custom)
        return {};
    const QPageSize page(id);
    const QSizeF size = page.definitionSize();
    double scale = Units::TwipsPerPoint;
    if (page.definitionUnits() == QPageSize::Millimeter)
        scale = Units::TwipsPerCm / 10;
    else if (page.definitionUnits() == QPageSize::Inch)
        scale = Units::TwipsPerInch;
    return QSizeF(std::round(size.width() * scale), std::round(size.height() * scale));
}

void PaperCatalogue::add(int number)
{
    if (number <= 0 || number == 256 || offers(number))
        return;
    const QSizeF size = standardSize(number);
    if (size.isEmpty())
        return;
    // Numbers that stand for the same paper ("A4 Small") are offered once.
    const QPageSize::PageSizeId id = QPageSize::id(number);
    for (const PaperEntry &e : m_sizes) {
        if (QPageSize::id(e.number) == id)
            return;
    }
    m_sizes.append({QPageSize::name(id), number, size});
}

bool PaperCatalogue::offers(int number) const
{
    for (const PaperEntry &e : m_sizes) {
        if (e.number == number)
            return true;
    }
    return false;
}

PaperCatalogue PaperCatalogue::standard()
{
    PaperCatalogue c;
    // Letter, Tabloid, Ledger, Legal, Statement, Executive, A3, A4, A5, B4,
    // B5, Folio, Quarto, 10x14, 11x17, Note, envelopes #9 to #14, C, D, E
    // sheets, DL, C5, C3, C4, C6, B4, B5 and B6 envelopes, Monarch,
    // Personal, A6, A2.
    for (int n : {1, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28,
                  29, 30, 31, 33, 34, 35, 37, 38, 70, 66})
        c.add(n);
    c.m_default = localeDefault();
    return c;
}

PaperCatalogue PaperCatalogue::fromPrinter(const QPrinterInfo &printer)
{
    PaperCatalogue c;
    c.m_printer = printer.printerName();
    for (const QPageSize &size : printer.supportedPageSizes())
        c.add(size.windowsId());
    if (c.m_sizes.isEmpty())
        return standard();
    const int def = printer.defaultPageSize().windowsId();
    c.m_default = c.offers(def) ? def : c.offers(localeDefault()) ? localeDefault() : c.m_sizes.first().number;
    return c;
}

PaperCatalogue PaperCatalogue::system()
{
    QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
        if (!all.isEmpty())
            printer = all.first();
    }
    return printer.isNull() ? standard() : fromPrinter(printer);
}

} // namespace Orv
