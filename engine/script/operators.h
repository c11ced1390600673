#pragma once
// Visual Basic's operators on Variants: result types, Null propagation,
// integer overflow widening to Long and then Double.
#include "engine/script/variant.h"

namespace Orv::Script {

enum class BinOp {
    Add, Sub, Mul, Div, IntDiv, Mod, Pow, Concat,
    Eq, Ne, Lt, Le, Gt, Ge, Is,
    And, Or, Xor, Eqv, Imp,
};

// The value of an object used where a value is wanted: its default
// member. Non-objects come back unchanged.
Variant valueOf(const Variant &v);

constexpr qsizetype MaxStringLength = 256 * 1024 * 1024;
Variant concat(const QString &a, const QString &b);

// How a comparison goes. LeftHard/RightHard: that operand is a literal
// ("hard" in VBScript's terms): a number compared with a string takes the
// literal's type; only between two computed values is the number the
// smaller. TextCompare: strings compare without regard to case (Option
// Compare Text or Database in the module).
enum CompareFlag : unsigned { NoneHard = 0, LeftHard = 1, RightHard = 2, TextCompare = 4 };

Variant binary(BinOp op, const Variant &a, const Variant &b, unsigned flags = NoneHard);
Variant negate(const Variant &a);
Variant logicalNot(const Variant &a);
// -1, 0, 1, or 2 when either side is Null. textCompare ignores case.
int compare(const Variant &a, const Variant &b, bool textCompare = false, unsigned hard = NoneHard);

} // namespace Orv::Script
