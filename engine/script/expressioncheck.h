#pragma once
// Checks a data field's expression at design time the way a run compiles
// it: against the report's fields, field controls and objects, the report's
// script and the script prologue. Nothing is run and the report is not
// changed.
#include "engine/script/host.h"

#include <QStringList>

#include <memory>
#include <optional>

namespace Orv {
class Report;
}

namespace Orv::Script {

struct ExpressionCheck
{
    bool ok = true;
    // The expression's error, its line and column counted in the text given.
    Error error;
    // The report's own script failed to compile; error is its error.
    bool inReportScript = false;
};

// Holds a copy of the report with its script compiled, for any number of
// checks. fieldNames are the columns of the report's data source; without
// them (the database could not be read) any bare name passes as a field.
class ExpressionChecker
{
public:
    ExpressionChecker(const Report &report, const std::optional<QStringList> &fieldNames);
    ~ExpressionChecker();
    ExpressionChecker(const ExpressionChecker &) = delete;
    ExpressionChecker &operator=(const ExpressionChecker &) = delete;

    // text is the expression without its leading "=".
    ExpressionCheck check(const QString &text);

    struct Private;

private:
    std::unique_ptr<Private> d;
};

ExpressionCheck checkExpression(const QString &text, const Report &report,
                                const std::optional<QStringList> &fieldNames);

} // namespace Orv::Script
