#pragma once
// Shared helpers of the built-in function tables.
#include "engine/script/interp.h"

namespace Orv::Script {

// True when argument i was given (not left out).
inline bool has(const Variant *a, int n, int i) { return i < n && !isMissing(a[i]); }
// The truth of a condition: Null is false.
bool truthOf(const Variant &v);
// The date and formatting functions; the list ends with a null name.
const Builtin *dateBuiltins();
QStringList builtinNames();

} // namespace Orv::Script
