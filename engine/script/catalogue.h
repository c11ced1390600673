#pragma once
// What the report script language offers an expression: its built-in
// functions, named constants and operators, each with its arguments and a
// line of help. Only names the interpreter really has are listed, so an
// editor built on this can never offer something that does not exist.
#include <QString>

#include <vector>

namespace Orv::Script {

enum class CatalogueKind { Function, Constant, Operator };

enum class CatalogueCategory {
    // functions
    Array,
    Conversion,
    DateTime,
    InputOutput,
    Math,
    String,
    // constants
    Colors,
    DateConstants,
    DateFormats,
    StringConstants,
    TriState,
    VarTypes,
    // operators
    Arithmetic,
    Comparison,
    Logical,
};

struct CatalogueEntry
{
    CatalogueKind kind = CatalogueKind::Function;
    CatalogueCategory category = CatalogueCategory::String;
    QString name;      // "Left", "vbRed", "Mod"
    QString arguments; // "string, length" for functions, empty otherwise
    QString help;      // one line
    // What an editor inserts: a call with example arguments that compiles
    // as it stands, the constant's name, or the operator alone.
    QString insertText;
};

// Every entry in display order, grouped by category.
const std::vector<CatalogueEntry> &catalogue();
std::vector<CatalogueEntry> catalogueEntries(CatalogueCategory category);

// The interpreter's built-in function names not in the catalogue because
// they make no sense in a report expression (GetObject); for tests.
QStringList uncataloguedBuiltins();
// Every built-in function name the interpreter knows.
QStringList interpreterBuiltins();

} // namespace Orv::Script
