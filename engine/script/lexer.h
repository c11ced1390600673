#pragma once
// The tokens of the script language and the lexer that makes them; used
// by the parser.
#include "engine/script/variant.h"

#include <QString>

#include <vector>

namespace Orv::Script {

enum class Tok { End, Newline, Ident, Number, String, Date, Op };

struct Token
{
    Tok kind = Tok::End;
    QString text;     // identifier, operator or string contents
    Variant value;    // numbers and dates
    bool bracketed = false;
    bool spaceBefore = false;
    int line = 0;
    int column = 0;
};

// Splits script text into tokens, ending with Tok::End; raises a syntax
// error with its line and column for text that is no token.
std::vector<Token> tokenize(const QString &text);

// Raises syntax error number at a place, with the offending text.
[[noreturn]] void syntaxError(int number, int line, int column, const QString &detail = QString());

} // namespace Orv::Script
