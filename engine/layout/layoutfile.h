#pragma once

#include "engine/core/status.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

namespace Orv {

class Control;
class Report;

// Layout files (.rpx): the XML form of a report design. See
// docs/layout-format.md.
namespace LayoutFile {

constexpr int FormatVersion = 1;
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
constexpr int MaxDepth = 16;
constexpr int MaxSections = 10000;
constexpr int MaxControls = 200000;

// What SaveLayout writes to. The numbers are the ones scripts pass.
enum class SaveKind : int {
    ToFile = 1,
    ToBytes = 2,
};
using enum SaveKind;

} // namespace LayoutFile

// Loads a design from a file or from bytes into report, replacing what it
// held and clearing IsDirty. On failure the report is left as it was and
// the status names the source, line, column and what was wrong.
Status LoadLayout(Report &report, const QString &path);
Status LoadLayout(Report &report, const QByteArray &bytes, const QString &sourceName = QString());

// ToFile writes the file at path atomically and clears IsDirty; ToBytes
// returns the bytes in *bytes and leaves the file system alone.
Status SaveLayout(Report &report, const QString &path, LayoutFile::SaveKind kind, QByteArray *bytes = nullptr);

// The bytes of a design, as ToBytes returns them.
QByteArray layoutBytes(const Report &report);

// A layout fragment: controls without their report, as the designer puts
// them on the clipboard. Each control is written as in a layout file.
QByteArray layoutFragmentBytes(const std::vector<const Control *> &controls);
// Reads a fragment into new, detached controls (appended to *controls).
// Refuses what a layout file would refuse; on failure *controls is unchanged.
Status LoadLayoutFragment(const QByteArray &bytes, std::vector<std::unique_ptr<Control>> *controls,
                          const QString &sourceName = QString());
// True when bytes start like a fragment (cheap; does not validate).
bool looksLikeLayoutFragment(const QByteArray &bytes);

} // namespace Orv
