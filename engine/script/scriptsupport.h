#pragma once
// The script support objects a report gets before it runs: "vbo" (IIf,
// Choose, Switch, Format, getChartDataFromRecordset, CreateNewReport,
// VBPath) and "dbg" (Out, Cls), and the prologue of plain functions that
// wrap vbo's.
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace Orv::Script {

class Object;

// The two read-only install keys VBPath looks at.
struct InstallKeys
{
    QString installDir;               // "InstallDir" of the Visual Basic key; empty when missing
    bool productKeyExists = false;    // the Visual Studio setup key opens
    std::optional<QString> productDir; // "ProductDir"; nothing when the read fails
};

// vbo. keys is asked at every VBPath call; without it both keys are missing.
std::shared_ptr<Object> createSupportObject(std::function<InstallKeys()> keys = {});

// dbg: Out appends a line to the attached sink, Cls clears it; without a
// sink both do nothing.
class DebugOutput
{
public:
    std::function<void(const QString &line)> out;
    std::function<void()> clear;
};
std::shared_ptr<Object> createDebugObject(std::shared_ptr<DebugOutput> output);

// The prologue for the given report folder, byte for byte.
QString scriptPrologue(const QString &reportFolder);

} // namespace Orv::Script
