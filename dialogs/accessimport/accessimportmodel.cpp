#include "dialogs/accessimport/accessimportmodel.h"

#include "engine/model/report.h"
#include "engine/widgets/designer/designercommands.h"
#include "shell/reportdocument.h"
#include "ui/uiseam.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace Orv {

const QList<AccessImportModel::Charset> &AccessImportModel::charsets()
{
    static const QList<Charset> list = {
        {QT_TRANSLATE_NOOP("AccessImportModel", "Default (ANSI)"), 0}, {QT_TRANSLATE_NOOP("AccessImportModel", "Arabic"), 178},
        {QT_TRANSLATE_NOOP("AccessImportModel", "Baltic"), 186},       {QT_TRANSLATE_NOOP("AccessImportModel", "EastEurope"), 238},
        {QT_TRANSLATE_NOOP("AccessImportModel", "Greek"), 161},        {QT_TRANSLATE_NOOP("AccessImportModel", "Hebrew"), 177},
        {QT_TRANSLATE_NOOP("AccessImportModel", "Russian"), 204},      {QT_TRANSLATE_NOOP("AccessImportModel", "Turkish"), 162}};
    return list;
}

QString AccessImportModel::databaseFilter()
{
    return tr("Microsoft Access Files (*.mdb, *.adp)") + QStringLiteral("|*.mdb;*.accdb;*.adp|")
        + tr("Microsoft Access Database (*.mdb)") + QStringLiteral("|*.mdb|") + tr("Microsoft Access 2007 数据库 (*.accdb)")
        + QStringLiteral("|*.accdb|") + tr("Microsoft Access Project (*.adp)") + QStringLiteral("|*.adp|") + tr("All Files (*.*)")
        + QStringLiteral("|*.*");
}

AccessImportModel::AccessImportModel(Ui &ui, QObject *parent) : QObject(parent), m_ui(ui), m_driver(&ui)
{
    showStep(StartPage);
}

AccessImportModel::~AccessImportModel()
{
    if (m_thread) {
        m_cancel = true;
        m_thread->wait();
        delete m_thread;
    }
}

void AccessImportModel::showStep(int page)
{
    m_page = page;
    m_message.clear();
    Q_EMIT pageChanged(page);
    Q_EMIT stateChanged();
}

bool AccessImportModel::goNext()
{
    if (m_running || m_page >= FinishedPage || !validateStep(m_page))
        return false;
    const int next = m_page + 1;
    enterStep(next);
    showStep(next);
    afterStep(next);
    return true;
}

void AccessImportModel::goBack()
{
    if (!backEnabled())
        return;
    showStep(m_page - 1);
}

bool AccessImportModel::cancel()
{
    if (!m_running)
        return true;
    m_cancel = true;
    setMessage(tr("当前报表转换完成后停止..."));
    return false;
}

void AccessImportModel::setMessage(const QString &message)
{
    if (m_message == message)
        return;
    m_message = message;
    Q_EMIT stateChanged();
}

bool AccessImportModel::validateStep(int page)
{
    switch (page) {
    case DatabasePage: {
        if (m_database.trimmed().isEmpty())
            return false;
        const QString folder = m_exportsFolder.trimmed();
        if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
            setMessage(tr("导出文件夹“%1”不存在。").arg(QDir::toNativeSeparators(folder)));
            return false;
        }
        m_driver.setExportsFolder(folder);
        // A failure has been told by the driver's box.
        return m_driver.openDatabase(m_database);
    }
    case ReportsPage:
        if (checkedCount() == 0) {
            if (!m_entries.isEmpty())
                setMessage(tr("请勾选要转换的报表。"));
            return false;
        }
        return true;
    case OptionsPage: {
        if (!m_convertAll)
            return true;
        const QString folder = m_options.msReportsPath.trimmed();
        if (folder.isEmpty()) {
            setMessage(tr("请在 Reports Path 中填写布局文件要写入的文件夹。"));
            return false;
        }
        if ((!QFileInfo(folder).isDir() && !QDir().mkpath(folder)) || !QFileInfo(folder).isWritable()) {
            setMessage(tr("无法写入文件夹“%1”。").arg(QDir::toNativeSeparators(folder)));
            return false;
        }
        return true;
    }
    default:
        return true;
    }
}

void AccessImportModel::enterStep(int page)
{
    if (page == ReportsPage) {
        m_driver.listReports();
        fillEntries();
    } else if (page == OptionsPage) {
        m_options.msReportsPath.clear();
        if (m_convertAll)
            setConvertAll(true);
    }
}

void AccessImportModel::afterStep(int page)
{
    if (page == ReportsPage) {
        if (m_entries.isEmpty())
            m_message = tr("数据库中没有报表。");
        else if (m_driver.exportCount() == 0)
            m_message = tr("这些报表在导出文件夹中都没有导出文件，请查看数据库页。");
        Q_EMIT stateChanged();
    } else if (page == ConvertingPage) {
        m_status.clear();
        Q_EMIT statusCleared();
        startConversion();
    }
}

QString AccessImportModel::defaultExportsFolder() const
{
    const QString db = m_database.trimmed();
    if (db.isEmpty())
        return QString();
    const QFileInfo info(db);
    return QDir::toNativeSeparators(info.path() + u'/' + info.completeBaseName());
}

QString AccessImportModel::exportsNote() const
{
    const QString db = m_database.trimmed();
    if (db.isEmpty() || !QFileInfo(db).isFile())
        return QString();
    AccessImportDriver probe;
    probe.setExportsFolder(m_exportsFolder.trimmed());
    if (!probe.openDatabase(db))
        return tr("无法将此文件作为Access数据库读取。");
    probe.listReports();
    const int total = int(probe.reports().size());
    if (probe.isProject())
        return tr("找到 %n 个报表导出文件。", nullptr, total);
    if (total == 0)
        return tr("数据库中没有报表。");
    return tr("共 %2 个报表，其中 %1 个在导出文件夹中有导出文件。").arg(probe.exportCount()).arg(total);
}

void AccessImportModel::browseDatabase()
{
    FileDialogRequest request;
    request.title = tr("Reports Database");
    request.filter = ReportDocument::qtFilter(databaseFilter());
    request.fileName = m_database;
    const QString path = m_ui.openFileName(request);
    if (!path.isEmpty())
        m_database = path;
}

void AccessImportModel::browseExportsFolder()
{
    const QString start = m_exportsFolder.isEmpty() ? QFileInfo(m_database.trimmed()).path() : m_exportsFolder;
    const QString folder = m_ui.browseFolder(tr("选择报表导出文件所在的文件夹:"), start);
    if (!folder.isEmpty())
        m_exportsFolder = folder;
}

void AccessImportModel::browseReportsPath()
{
    QString folder = m_ui.browseFolder(tr("Select reports path:"), m_options.msReportsPath);
    if (const qsizetype nul = folder.indexOf(QChar(0)); nul >= 0)
        folder.truncate(nul);
    if (!folder.isEmpty())
        m_options.msReportsPath = folder;
}

void AccessImportModel::fillEntries()
{
    m_entries.clear();
    m_currentEntry = -1;
    if (!m_driver.reports().isEmpty())
        m_entries.append({tr("(全部报表)"), true, false});
    for (const QString &name : m_driver.reports())
        m_entries.append({name, !m_driver.findExport(name).isEmpty(), false});
    Q_EMIT entriesChanged();
}

void AccessImportModel::setChecked(int index, bool checked)
{
    if (m_inCheck || index < 0 || index >= m_entries.size())
        return;
    m_inCheck = true;
    m_entries[index].checked = checked;
    if (index == 0) {
        for (Entry &e : m_entries)
            e.checked = checked;
    } else {
        bool all = true;
        for (int i = 1; i < m_entries.size(); ++i)
            all = all && m_entries[i].checked;
        m_entries[0].checked = all;
    }
    m_inCheck = false;
    if (m_page == ReportsPage)
        m_message.clear();
    Q_EMIT checksChanged();
    Q_EMIT stateChanged();
}

int AccessImportModel::checkedCount() const
{
    int n = 0;
    for (int i = 1; i < m_entries.size(); ++i)
        n += m_entries[i].checked ? 1 : 0;
    return n;
}

void AccessImportModel::setCharsetIndex(int index)
{
    if (index >= 0 && index < charsets().size())
        m_charsetIndex = index;
}

void AccessImportModel::setConvertAll(bool on)
{
    m_convertAll = on;
    // A folder to start from: beside the database, named after it.
    if (on && m_options.msReportsPath.isEmpty() && !m_database.trimmed().isEmpty()) {
        const QFileInfo db(m_database.trimmed());
        m_options.msReportsPath = QDir::toNativeSeparators(db.path() + u'/' + db.completeBaseName() + tr(" 布局"));
    }
}

void AccessImportModel::startConversion()
{
    CAccessImportSettings settings = m_options;
    settings.miCharset = qint16(charsets()[m_charsetIndex].value);
    m_driver.options() = settings;
    // The driver's current report is the list's current entry, if it is a
    // report; the master entry is none.
    m_driver.setCurrentReport(m_currentEntry >= 1 ? m_currentEntry - 1 : -1);
    QStringList names;
    for (int i = 1; i < m_entries.size(); ++i)
        if (m_entries[i].checked)
            names << m_entries[i].name;

    m_cancel = false;
    m_running = true;
    m_applied = false;
    m_resultOk = false;
    m_written.clear();
    m_batch = {};
    m_driver.setCancelFlag(&m_cancel);
    m_driver.setLogListener([this](const QString &line) {
        QMetaObject::invokeMethod(
            this,
            [this, line] {
                m_status << line;
                Q_EMIT statusLineAdded(line);
            },
            Qt::QueuedConnection);
    });
    const bool all = m_convertAll;
    const QString folder = settings.msReportsPath.trimmed();
    QThread *home = thread();
    m_thread = QThread::create([this, all, names, folder, home] {
        if (all) {
            m_batch = m_driver.convertAll(names, folder);
            return;
        }
        // Into a report of its own: the design stays as it is until the
        // conversion has succeeded.
        auto result = std::make_unique<Report>();
        m_driver.SetReport(result.get());
        m_resultOk = m_driver.convertReports();
        m_driver.SetReport(nullptr);
        result->moveToThread(home);
        m_result = std::move(result);
    });
    connect(m_thread, &QThread::finished, this, &AccessImportModel::conversionDone, Qt::QueuedConnection);
    Q_EMIT stateChanged();
    m_thread->start();
}

void AccessImportModel::conversionDone()
{
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_running = false;
    m_driver.setLogListener({});
    m_driver.setCancelFlag(nullptr);
    const auto note = [this](const QString &line) {
        m_status << line;
        Q_EMIT statusLineAdded(line);
    };
    if (m_convertAll) {
        m_written = m_batch.written;
    } else if (m_cancel) {
        note(tr("*** 转换已取消，设计未改变 ***"));
    } else if (m_resultOk && m_report && m_result) {
        if (m_undo) {
            m_undo->push(new ReportContentCommand(CommandStack::hostOf(m_undo), tr("导入Access报表"), m_report,
                                                  *m_result));
        } else {
            m_report->takeContent(*m_result);
        }
        m_applied = true;
    }
    m_result.reset();
    m_message.clear();
    Q_EMIT conversionFinished();
    Q_EMIT stateChanged();
    if (m_page == ConvertingPage)
        goNext();
}

} // namespace Orv
