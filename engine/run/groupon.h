#pragma once
// The value a group breaks on, from the value of its header's DataField and
// the header's GroupOn and GroupInterval: a prefix of a text, a part of a
// date counted in steps, or a number interval.
#include <QVariant>

namespace Orv::RunInternal {

// Sets *key to what rows of one group share. Null (and GroupOn 0) give the
// value itself. Returns false, with the value itself as the key, when the
// value cannot be taken that way (a text where a date or number is needed).
bool groupValue(const QVariant &value, int groupOn, int interval, QVariant *key);

} // namespace Orv::RunInternal
