#include "dialogs/pagenumbers/pagenumbersmodel.h"

#include "dialogs/common/reportedit.h"
#include "engine/model/controlregistry.h"
#include "engine/model/controls.h"
#include "engine/model/report.h"
#include "engine/model/section.h"
#include "engine/widgets/designer/designercore.h"

#include <QCoreApplication>

#include <algorithm>
#include <memory>

namespace Orv {

QStringList PageNumbersModel::styles()
{
    const auto tr = [](const char *s) { return QCoreApplication::translate("frmPageNumbers", s); };
    return {tr("Page ##"), tr("Page ## of ##"), tr("Page ## / ##"), tr("## of ##"), tr("## / ##")};
}

QStringList PageNumbersModel::locations()
{
    const auto tr = [](const char *s) { return QCoreApplication::translate("frmPageNumbers", s); };
    return {tr("Page Header Left"), tr("Page Header Center"), tr("Page Header Right"),
            tr("PageFooter Left"),  tr("PageFooter Center"),  tr("PageFooter Right")};
}

QString PageNumbersModel::expression(int style)
{
    switch (style) {
    case 0:
        return QStringLiteral("=\"Page \" & rpt.PageNumber");
    case 1:
        return QStringLiteral("=\"Page \" & rpt.PageNumber & \" of \"");
    case 2: // the slash its entry shows
        return QStringLiteral("=\"Page \" & rpt.PageNumber & \" / \"");
    case 3:
        return QStringLiteral("= rpt.PageNumber & \" of \"");
    default:
        return QStringLiteral("= rpt.PageNumber & \" / \"");
    }
}

void PageNumbersModel::SetReport(Report *rpt, DesignerCore *designer)
{
    m_report = rpt;
    m_designer = designer;
}

void PageNumbersModel::setStyle(int style)
{
    m_style = std::clamp(style, 0, int(styles().size()) - 1);
}

void PageNumbersModel::setLocation(int location)
{
    m_location = std::clamp(location, 0, int(locations().size()) - 1);
}

Section *PageNumbersModel::targetSection() const
{
    if (!m_report)
        return nullptr;
    const Section::Type kind = m_location <= 2 ? Section::PageHeader : Section::PageFooter;
    Sections *sections = m_report->sections();
    for (int i = 0; i < sections->Count(); ++i) {
        if (sections->Item(i)->type() == kind)
            return sections->Item(i);
    }
    return nullptr;
}

Status PageNumbersModel::AddPageNumber(Added *added)
{
    Section *section = targetSection();
    if (!section)
        return {};
    const auto make = [this] {
        Control *c = ControlRegistry::builtIn().create(QStringLiteral("OrvEngine.Field"));
        auto *field = qobject_cast<Field *>(c);
        if (!field)
            delete c;
        return std::unique_ptr<Field>(field);
    };
    std::unique_ptr<Field> count = hasPageCount(m_style) ? make() : nullptr;
    std::unique_ptr<Field> number = make();
    if (!number || (hasPageCount(m_style) && !count))
        return Status::failure(ErrCannotCreateObject, QCoreApplication::translate("frmPageNumbers", "The field control cannot be created."));

    // Centred and flush-right positions come from the print width.
    const float printWidth = float(m_report->printWidth());
    float left = 0;
    if (m_location % 3 == 1)
        left = (printWidth - float(NumberWidth)) / 2;
    else if (m_location % 3 == 2)
        left = printWidth - float(NumberWidth);

    ReportEdit edit(m_report, m_designer, QCoreApplication::translate("frmPageNumbers", "Insert Page Number"),
                    ReportEdit::Steps::Gathered);
    Added result;
    result.section = section;
    if (count) {
        count->setName(m_report->uniqueControlName(count->typeName()));
        count->setText(QStringLiteral("PageCount"));
        count->setSummaryType(4);
        count->setSummaryRunning(0);
        count->setAlignment(0);
        count->setVisible(true);
        count->setWidth(CountWidth);
        count->setHeight(FieldHeight);
        count->setTop(0);
        count->setLeft(double(left) + NumberWidth);
        result.count = count.get();
        edit.insert(section, count.release());
    }
    number->setName(m_report->uniqueControlName(number->typeName()));
    number->setWidth(NumberWidth);
    number->setHeight(FieldHeight);
    number->setTop(0);
    number->setText(QStringLiteral("PageNumber"));
    number->setAlignment(1);
    number->setLeft(double(left));
    number->setDataField(expression(m_style));
    result.number = number.get();
    edit.insert(section, number.release());
    if (section->height() < FieldHeight)
        edit.change({section}, [section] { section->setHeight(FieldHeight); });
    if (added)
        *added = result;
    return {};
}

} // namespace Orv
