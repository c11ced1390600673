#pragma once

#include "engine/core/status.h"

#include <QString>

#include <functional>

namespace Orv::Data {

// Writes the sample database "Tesserane Traders" as a SQLite file: the same
// bytes of data for the same scale, every time. Scale 1 has 4,000 orders
// and about 10,000 order lines; each step of scale adds as many. The file
// is written beside path under a temporary name and renamed when complete;
// progress gets 0 to 100 and may return false to cancel.
Status createSampleDatabase(const QString &path, int scale, const std::function<bool(int)> &progress = {});

constexpr int MaxSampleScale = 1000;

} // namespace Orv::Data
