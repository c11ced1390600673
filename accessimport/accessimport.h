#pragma once

#include "accessimport/accessreport.h"
#include "engine/core/status.h"
#include "engine/vbregexp/vbregexp.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace Orv {

class Control;
class Report;
class Section;
class Ui;

// The options of one conversion, filled by the import wizard or the
// command line. The defaults are the wizard's initial states.
struct CAccessImportSettings
{
    bool mbCommentModule = false;   // comment out the module and translated expressions
    bool mbStripSrcCode = true;     // strip type declarations and Report_ prefixes
    qint16 miCharset = 0;           // character set of every converted font
    bool mbUseADOInsteadDAO = true; // kind of data control
    QString msReportsPath;          // carried only
    bool mbConvertChartCtls = true; // convert Microsoft Graph object frames
};

// Converts one Access report into an engine report. Every failure costs
// one line in the log (or a message box when there is no log) and the
// conversion goes on with the next statement.
class CAccessImport
{
public:
    // Chart conversion of an object frame holding a Microsoft Graph chart:
    // adds the chart to the section and returns the section's chart code.
    using ChartConverter = std::function<QString(CAccessImport &, Section &, const AccessImport::AccessObject &)>;

    explicit CAccessImport(Ui *ui = nullptr);

    // The path of the database the report belongs to (what Access gives as
    // DBEngine(0)(0).Name); empty when only the export is at hand.
    void setDatabasePath(const QString &path) { m_databasePath = path; }
    void setChartConverter(ChartConverter converter) { m_chartConverter = std::move(converter); }
    // Told of each line as it is added to the log.
    void setLogListener(std::function<void(const QString &)> listener) { m_listener = std::move(listener); }

    void importTemplate(const AccessImport::AccessReport &src, Report &dst, const CAccessImportSettings &settings,
                        QStringList *ctlLog);

    // The single reporting path of every conversion step.
    void logError(const QString &description, const QString &location, int number);

    // Pattern services over the script library's VBScript regular
    // expressions: global, case-insensitive, "$1" in replacements.
    QString replacePattern(const QString &sSrc, const QString &sPattern, const QString &sReplStr) const;
    QString findMatch(const QString &sSrc, const QString &sPattern) const;

    // Access expressions to script text: [Page], [Pages] and [field].
    QString translateExpression(const QString &expression);
    int aggregateFunction(const QString &controlSource) const;
    QString aggregateField(const QString &controlSource) const;

    static QString sanitizeName(const QString &name);

    const CAccessImportSettings &settings() const { return m_settings; }
    QString detailSectionName() const { return m_detailName; }
    bool pageCountUsed() const { return m_pageCount; }
    QString startScript() const { return m_startScript; }
    QString endScript() const { return m_endScript; }

    // Reads a property of an Access object; a failure is logged at location
    // and gives an invalid value.
    QVariant get(const AccessImport::AccessObject &object, const QString &name, const QString &location);
    // Writes an engine property by path; an invalid value (a failed read)
    // is skipped, a refused write or a missing target is logged.
    bool set(QObject *target, const QString &path, const QVariant &value, const QString &location);
    // Adds a control by type identifier; a failure is logged.
    Control *addControl(Section &section, const QString &typeId, const QString &location);

    // A Microsoft Graph object frame as a chart control; returns the
    // section script that feeds it (empty when no chart was added). Used
    // when no other chart converter is set.
    QString copyControlChart(Section &section, const AccessImport::AccessObject &frame);

private:
    void importReport(const AccessImport::AccessReport &src, Report &dst);
    bool sectionExists(const AccessImport::AccessReport &src, int index) const;
    bool groupLevelExists(const AccessImport::AccessReport &src, int level) const;
    void copySection(const AccessImport::AccessReport &src, const AccessImport::AccessObject &from, Section &to,
                     int groupLevel, bool header, const QString &groupName);
    QString groupingExpression(const AccessImport::AccessObject &group, const QString &location);
    void importDataControl(Section &section, const AccessImport::AccessReport &src);
    void importMip(const AccessImport::AccessReport &src, Report &dst);
    void ImportSourceCode(const AccessImport::AccessReport &src, Report &dst);

    // Controls.
    void copyControl(Section &section, const AccessImport::AccessObject &control, const QString &groupName, QString *chartSnippet);
    void copyCommon(Control *c, const AccessImport::AccessObject &a, const QString &location, bool withHeight = true);
    void copyBoxAndText(Control *c, const AccessImport::AccessObject &a, const QString &location);
    void copyTextBox(Section &section, const AccessImport::AccessObject &a, const QString &groupName);
    void copyComboBox(Section &section, const AccessImport::AccessObject &a);
    void copyLabel(Section &section, const AccessImport::AccessObject &a);
    void copyLine(Section &section, const AccessImport::AccessObject &a);
    void copyRect(Section &section, const AccessImport::AccessObject &a);
    void copyPageBreak(Section &section, const AccessImport::AccessObject &a);
    void copyImage(Section &section, const AccessImport::AccessObject &a);
    void copyCheckBox(Section &section, const AccessImport::AccessObject &a);
    void copyCustomControl(Section &section, const AccessImport::AccessObject &a);
    void copyControlBoundObjectFrame(Section &section, const AccessImport::AccessObject &a);
    void copyControlSubReport(Section &section, const AccessImport::AccessObject &a);
    void setFont(Control *c, const AccessImport::AccessObject &a, const QString &location);
    void setBorder(Control *c, const AccessImport::AccessObject &a, const QString &location);
    QVariant borderedHeight(const AccessImport::AccessObject &a, const QString &location);

    Ui *m_ui;
    mutable VbRegExp m_regExp; // the converter's one regular-expression object
    QStringList *m_log = nullptr;
    CAccessImportSettings m_settings;
    QString m_databasePath;
    ChartConverter m_chartConverter;
    std::function<void(const QString &)> m_listener;
    QString m_startScript;
    QString m_endScript;
    QString m_detailName;
    bool m_pageCount = false;
};

// Engine values for Access values, as the control conversion maps them.
namespace AccessMap {
int textAlign(int access);
int lineStyle(int borderStyle);
int borderStyle(int borderStyle, int width);
int sizeMode(int access);
int pictureAlignment(int access);
int runningSum(int access);
int newPage(int access);
int groupKeepTogether(int access);
} // namespace AccessMap

} // namespace Orv
