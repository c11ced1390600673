#pragma once
// The paper sizes offered for a report: those of the system's default
// printer when there is one (QPrinterInfo), a standard list otherwise.
// Sizes go by the printer's paper-size numbers (9 is A4), as the report
// keeps them, and measure as the standards define them, so what is shown
// is what a run makes.
#include <QList>
#include <QSizeF>
#include <QString>

class QPrinterInfo;

namespace Orv {

struct PaperEntry
{
    QString name;
    int number = 0;
    QSizeF size; // twips, as the standard defines it (Ledger lies down)
};

class PaperCatalogue
{
public:
    // The default printer's sizes, else the first printer's, else the list.
    static PaperCatalogue system();
    static PaperCatalogue standard();
    static PaperCatalogue fromPrinter(const QPrinterInfo &printer);

    // The size of a paper-size number as the standard defines it (twips,
    // portrait); empty for a number that names no standard size.
    static QSizeF standardSize(int number);

    const QList<PaperEntry> &sizes() const { return m_sizes; }
    QString printerName() const { return m_printer; } // empty for the list
    bool offers(int number) const;
    // What "Default" stands for: the printer's default paper, else Letter
    // where the locale measures in inches and A4 elsewhere.
    int defaultNumber() const { return m_default; }

private:
    void add(int number);

    QList<PaperEntry> m_sizes;
    QString m_printer;
    int m_default = 9;
};

} // namespace Orv
