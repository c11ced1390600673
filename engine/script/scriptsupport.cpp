#include "engine/script/scriptsupport.h"

#include "engine/data/recordset.h"
#include "engine/layout/layoutfile.h"
#include "engine/model/report.h"
#include "engine/script/bridge.h"
#include "engine/script/builtins.h"
#include "engine/vbformat/vbformat.h"

#include <QFileInfo>

namespace Orv::Script {

namespace {

class SupportObject : public NativeObject
{
public:
    explicit SupportObject(std::function<InstallKeys()> keys) : m_keys(std::move(keys)) {}
    QString typeName() const override { return QStringLiteral("clsVBO"); }

    Variant invoke(Runtime &rt, int id, Invoke kind, Variant *a, int n) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(ErrWrongArguments);
        switch (id) {
        case Choose: {
            if (n < 1)
                raise(ErrWrongArguments);
            const int i = int(std::floor(valueOf(a[0]).toDouble()));
            return i >= 1 && i < n ? a[i] : Variant::null();
        }
        case IIf:
            needArgs(n, 3, 3);
            return truthOf(a[0]) ? a[1] : a[2];
        case Format:
            needArgs(n, 2, 2);
            return Variant(format(valueOf(a[0]), valueOf(a[1]).toString()));
        case Switch:
            if (n % 2 != 0)
                raise(ErrInvalidCall);
            for (int i = 0; i < n; i += 2)
                if (truthOf(a[i]))
                    return a[i + 1];
            return Variant::null();
        case ChartData:
            needArgs(n, 1, 1);
            return chartData(a[0]);
        case CreateNewReport:
            needArgs(n, 1, 1);
            return createNewReport(valueOf(a[0]).isNull() ? QString() : valueOf(a[0]).toString());
        case VBPath:
            needArgs(n, 0, 0);
            return Variant(vbPath(rt));
        default:
            raiseNotSupported();
        }
    }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable(
            {QStringLiteral("Choose"), QStringLiteral("IIf"), QStringLiteral("Format"), QStringLiteral("Switch"),
             QStringLiteral("getChartDataFromRecordset"), QStringLiteral("CreateNewReport"), QStringLiteral("VBPath")});
        return &t;
    }

private:
    enum { Choose = 1, IIf, Format, Switch, ChartData, CreateNewReport, VBPath };

    // Sunday first, the week of 1 January first; compiled once per text.
    QString format(const Variant &value, const QString &fmt)
    {
        auto it = m_formats.find(fmt);
        if (it == m_formats.end()) {
            if (m_formats.size() > 256)
                m_formats.clear();
            it = m_formats.insert(fmt, VbFormat::CompiledFormat(fmt, VbFormat::Sunday, VbFormat::FirstJan1));
        }
        return it.value().apply(value.toQVariant());
    }

    // Records first, fields second, both from 0.
    Variant chartData(const Variant &rsValue)
    {
        if (!rsValue.isObject() || !rsValue.object())
            raise(ErrObjectRequired);
        auto *rs = qobject_cast<Data::Recordset *>(rsValue.object()->qobject());
        if (!rs)
            raise(ErrTypeMismatch, QStringLiteral("Type mismatch: getChartDataFromRecordset needs a recordset"));
        rs->MoveFirst();
        if (!rs->lastError().ok())
            raise(rs->lastError().number(), rs->lastError().description());
        const std::vector<QVariantList> rows = rs->getRows(-1);
        const int fields = rs->fields()->count();
        auto arr = Array::make({{0, int(rows.size())}, {0, fields}});
        for (size_t r = 0; r < rows.size(); ++r)
            for (int f = 0; f < fields; ++f)
                arr->data[r + size_t(f) * rows.size()] = Variant::fromQVariant(rows[r].value(f));
        return Variant(std::move(arr));
    }

    Variant createNewReport(const QString &path)
    {
        auto *report = new Report;
        if (!path.isEmpty() && QFileInfo::exists(path)) {
            const Status s = LoadLayout(*report, path);
            if (!s.ok()) {
                delete report;
                raise(s.number(), s.description());
            }
        }
        return bridge(report, std::make_shared<BridgeContext>(), true);
    }

    QString vbPath(Runtime &rt)
    {
        const InstallKeys keys = m_keys ? m_keys() : InstallKeys();
        QString result = keys.installDir;
        if (result.isEmpty() && keys.productKeyExists) {
            if (keys.productDir) {
                result = *keys.productDir;
            } else if (rt.hooks.inputBox) {
                result = rt.hooks.inputBox(QStringLiteral("Please enter a valid path to NWind.mdb"),
                                           QStringLiteral("VB Path not found"),
                                           QStringLiteral("E:\\Microsoft Visual Studio\\VB98"))
                             .value_or(QString());
            }
        }
        return result;
    }

    std::function<InstallKeys()> m_keys;
    QHash<QString, VbFormat::CompiledFormat> m_formats;
};

class DebugObject : public NativeObject
{
public:
    explicit DebugObject(std::shared_ptr<DebugOutput> output) : m_output(std::move(output)) {}
    QString typeName() const override { return QStringLiteral("clsDebug"); }
    Variant invoke(Runtime &, int id, Invoke kind, Variant *a, int n) override
    {
        if (kind == Invoke::Put || kind == Invoke::PutRef)
            raise(ErrWrongArguments);
        switch (id) {
        case 1: {
            needArgs(n, 1, 1);
            const Variant v = valueOf(a[0]);
            const QString text = v.isNull() ? QStringLiteral("Null") : v.toString();
            if (m_output && m_output->out)
                m_output->out(text);
            return Variant();
        }
        case 2:
            needArgs(n, 0, 0);
            if (m_output && m_output->clear)
                m_output->clear();
            return Variant();
        default:
            raiseNotSupported();
        }
    }

protected:
    const QHash<QString, int> *memberTable() const override
    {
        static const QHash<QString, int> t = makeTable({QStringLiteral("Out"), QStringLiteral("Cls")});
        return &t;
    }

private:
    std::shared_ptr<DebugOutput> m_output;
};

} // namespace

std::shared_ptr<Object> createSupportObject(std::function<InstallKeys()> keys)
{
    return std::make_shared<SupportObject>(std::move(keys));
}

std::shared_ptr<Object> createDebugObject(std::shared_ptr<DebugOutput> output)
{
    return std::make_shared<DebugObject>(std::move(output));
}

QString scriptPrologue(const QString &reportFolder)
{
    const QString crlf = QStringLiteral("\r\n");
    QString s;
    s += QStringLiteral("Function getChartDataFromRecordset(rs) ") + crlf
         + QStringLiteral("getChartDataFromRecordset = vbo.getChartDataFromRecordset(rs) ") + crlf + crlf
         + QStringLiteral("End Function") + crlf + crlf;
    s += QStringLiteral("Function IIf(Expression, TruePart, FalsePart) ") + crlf
         + QStringLiteral("IIf = vbo.IIf(Expression, TruePart, FalsePart)") + crlf + crlf
         + QStringLiteral("End Function") + crlf + crlf;
    s += QStringLiteral("Function Format(expr, fmt) ") + crlf + QStringLiteral(" Format = vbo.Format(expr, fmt)") + crlf
         + crlf + QStringLiteral("End Function") + crlf + crlf;
    s += QStringLiteral("Function ReportPath() ") + crlf + QStringLiteral("ReportPath = ") + QLatin1Char('"')
         + reportFolder + QLatin1Char('"') + crlf + crlf + QStringLiteral("End Function") + crlf + crlf;
    s += QStringLiteral("Function CreateNewReport(sReport) ") + crlf
         + QStringLiteral("Set CreateNewReport = vbo.CreateNewReport(sReport) ") + crlf + crlf
         + QStringLiteral("End Function") + crlf + crlf;
    s += QStringLiteral("Function VBPath() ") + crlf + QStringLiteral("VBPath = vbo.VBPath() ") + crlf + crlf
         + QStringLiteral("End Function") + crlf + crlf;
    return s;
}

} // namespace Orv::Script
