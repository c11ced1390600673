#include "dialogs/reportproperties/reportpropertiesmodel.h"

#include "dialogs/common/reportedit.h"
#include "engine/core/units.h"
#include "engine/model/parts.h"
#include "engine/model/report.h"

#include <QCoreApplication>

namespace Orv {

namespace {

// The context lupdate gives the texts in ReportPropertiesModel's members.
QString tr(const char *text)
{
    return QCoreApplication::translate("Orv::ReportPropertiesModel", text);
}

} // namespace

ReportPropertiesModel::ReportPropertiesModel(PaperCatalogue papers, LengthUnit unit)
    : m_papers(std::move(papers)), m_unit(unit)
{
    for (auto &m : m_margins)
        m.load(Units::TwipsPerInch, unit);
    m_customSize = QSizeF(12240, 15840);
}

QStringList ReportPropertiesModel::paperNames() const
{
    QStringList names{tr("默认")};
    for (const PaperEntry &e : m_papers.sizes())
        names << e.name;
    names << tr("自定义");
    return names;
}

int ReportPropertiesModel::paperNumber(int index) const
{
    if (index == 0)
        return DefaultNumber;
    if (index >= 1 && index <= m_papers.sizes().size())
        return m_papers.sizes()[index - 1].number;
    return index == m_papers.sizes().size() + 1 ? CustomNumber : 0;
}

void ReportPropertiesModel::SetReport(Report *rpt, DesignerCore *designer)
{
    m_report = rpt;
    m_designer = designer;
    if (!rpt)
        return;
    const PageSettings *ps = rpt->pageSettings();
    m_customSize = QSizeF(ps->paperWidth(), ps->paperHeight());
    m_paperIndex = -1;
    m_paperNote.clear();
    const int count = int(paperNames().size());
    for (int i = 0; i < count; ++i) {
        if (paperNumber(i) == ps->paperSize()) {
            setPaperIndex(i);
            break;
        }
    }
    // A report on the default paper prints on the size it keeps; choosing
    // Default again takes the printer's.
    if (ps->paperSize() == DefaultNumber) {
        m_width.load(ps->paperWidth(), m_unit);
        m_height.load(ps->paperHeight(), m_unit);
    }
    if (m_paperIndex < 0) {
        // Not offered here: shown as the report has it, and kept unless another is chosen.
        m_paperNote = tr("此打印机不提供报表的纸张(编号 %1)；除非另选纸张，否则保留原纸张。")
                          .arg(ps->paperSize());
        QSizeF size = PaperCatalogue::standardSize(ps->paperSize());
        if (size.isEmpty())
            size = m_customSize;
        m_width.load(size.width(), m_unit);
        m_height.load(size.height(), m_unit);
    }
    const double margins[MarginCount] = {ps->leftMargin(), ps->rightMargin(), ps->topMargin(), ps->bottomMargin(),
                                         ps->gutter()};
    for (int i = 0; i < MarginCount; ++i)
        m_margins[size_t(i)].load(margins[i], m_unit);
    m_mirror = ps->mirrorMargins();
    const int o = ps->orientation();
    m_orientation = o == -1 ? 0 : (o == 1 || o == 2) ? o : -1;
    m_documentName = rpt->documentName();
}

void ReportPropertiesModel::setPaperIndex(int index)
{
    const int number = paperNumber(index);
    if (number == 0)
        return;
    m_paperIndex = index;
    m_paperNote.clear();
    // Default is the printer's own paper; Custom keeps the report's size.
    m_printerPaper = number == DefaultNumber ? m_papers.defaultNumber() : number;
    const QSizeF size = number == CustomNumber ? m_customSize : PaperCatalogue::standardSize(m_printerPaper);
    m_width.load(size.width(), m_unit);
    m_height.load(size.height(), m_unit);
}

QSizeF ReportPropertiesModel::chosenPaper(Problem *problem) const
{
    if (m_paperIndex < 0 && m_report)
        return QSizeF(); // unchanged: not checked against
    // The size shown: the chosen paper's, or the one typed for Custom.
    double w = 0;
    double h = 0;
    const std::pair<const DialogUnits::LengthValue *, Box> boxes[] = {{&m_width, Box::PaperWidth},
                                                                       {&m_height, Box::PaperHeight}};
    for (const auto &[value, box] : boxes) {
        double twips = 0;
        Status s = value->twips(&twips);
        const QString what = box == Box::PaperWidth ? tr("纸张宽度") : tr("纸张高度");
        if (s.ok() && twips <= 0)
            s = Status::failure(ErrInvalidPropertyValue, tr("%1必须大于 0。").arg(what));
        else if (s.ok() && twips > MaxPaperTwips)
            s = Status::failure(ErrInvalidPropertyValue, tr("%1不能超过 %2 %3。")
                                         .arg(what, DialogUnits::formatLength(MaxPaperTwips, m_unit),
                                              DialogUnits::unitName(m_unit)));
        if (!s.ok()) {
            *problem = {box, -1, s};
            return {};
        }
        (box == Box::PaperWidth ? w : h) = twips;
    }
    return QSizeF(w, h);
}

ReportPropertiesModel::Problem ReportPropertiesModel::check() const
{
    Problem problem;
    QSizeF paper = chosenPaper(&problem);
    if (!problem.status.ok())
        return problem;
    if (paper.isEmpty() && m_report) {
        const PageSettings *ps = m_report->pageSettings();
        paper = PaperCatalogue::standardSize(ps->paperSize());
        if (paper.isEmpty())
            paper = QSizeF(ps->paperWidth(), ps->paperHeight());
    }
    const int orientation = m_orientation == 0 ? -1 : m_orientation;
    if ((orientation == 2 && paper.width() < paper.height()) || (orientation == 1 && paper.width() > paper.height()))
        paper.transpose();

    static const char *const names[MarginCount] = {QT_TR_NOOP("左边距"), QT_TR_NOOP("右边距"), QT_TR_NOOP("上边距"),
                                                   QT_TR_NOOP("下边距"), QT_TR_NOOP("装订线")};
    double t[MarginCount] = {};
    for (int i = 0; i < MarginCount; ++i) {
        Status s = m_margins[size_t(i)].twips(&t[i]);
        if (s.ok() && t[i] < 0)
            s = Status::failure(ErrInvalidPropertyValue, tr("%1不能为负数。").arg(tr(names[i])));
        else if (s.ok() && t[i] > Units::MaxTwips)
            s = Status::failure(ErrInvalidPropertyValue, tr("%1太大。").arg(tr(names[i])));
        if (!s.ok())
            return {Box::Margin, i, s};
    }
    const auto length = [this](double twips) {
        return DialogUnits::formatLength(twips, m_unit) + QLatin1Char(' ') + DialogUnits::unitName(m_unit);
    };
    if (t[Left] + t[Right] + t[Gutter] >= paper.width())
        return {Box::Margin, Left,
                Status::failure(ErrInvalidPropertyValue, tr("左、右边距和装订线(合计 %1)超出了宽 %2 的纸张，没有剩余空间。")
                                         .arg(length(t[Left] + t[Right] + t[Gutter]), length(paper.width())))};
    if (t[Top] + t[Bottom] >= paper.height())
        return {Box::Margin, Top,
                Status::failure(ErrInvalidPropertyValue, tr("上、下边距(合计 %1)超出了高 %2 的纸张，没有剩余空间。")
                                         .arg(length(t[Top] + t[Bottom]), length(paper.height())))};
    return {};
}

ReportPropertiesModel::Problem ReportPropertiesModel::save()
{
    Problem problem = check();
    if (!problem.status.ok() || !m_report)
        return problem;
    double margins[MarginCount] = {};
    for (int i = 0; i < MarginCount; ++i)
        std::ignore = m_margins[size_t(i)].twips(&margins[i]); // check() read them all above
    QSizeF size;
    if (m_paperIndex >= 0) {
        Problem unused;
        size = chosenPaper(&unused);
    }
    Report *rpt = m_report;
    PageSettings *ps = rpt->pageSettings();
    ReportEdit edit(rpt, m_designer, tr("报表属性"), ReportEdit::Steps::One);
    edit.change({rpt}, [&] {
        if (m_paperIndex >= 0) {
            ps->setPaperSize(paperNumber(m_paperIndex));
            // The run takes Default's and Custom's size from here; the others
            // keep it too, so the layout says what it prints on.
            ps->setPaperWidth(size.width());
            ps->setPaperHeight(size.height());
        }
        ps->setLeftMargin(margins[Left]);
        ps->setRightMargin(margins[Right]);
        ps->setTopMargin(margins[Top]);
        ps->setBottomMargin(margins[Bottom]);
        ps->setGutter(margins[Gutter]);
        ps->setMirrorMargins(m_mirror);
        if (m_orientation >= 0)
            ps->setOrientation(m_orientation == 0 ? -1 : m_orientation);
        rpt->setDocumentName(m_documentName);
    });
    return {};
}

} // namespace Orv
