#pragma once
// Named parameters in a data control's statement: ":name" stands for the
// value of a run parameter or, in a subreport, of the parent row's field
// of that name. Values go in as SQL literals; text in quotes, brackets and
// comments is left alone, and names that stand for nothing stay as written.
#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

namespace Orv::RunInternal {

using ParameterLookup = std::function<std::optional<QVariant>(const QString &name)>;

QString substituteParameters(const QString &sql, const ParameterLookup &lookup);
QString sqlLiteral(const QVariant &value);

} // namespace Orv::RunInternal
