#pragma once

#include <QString>

namespace Orv {

// Error numbers follow Visual Basic's run-time error numbers and ADO's, so
// that a message box built from them reads as users of such tools know it.
// Each has one description here; an error raised with a text of its own
// (naming the file, the field, the provider) keeps that text.
enum ErrorNumber : int {
    ErrInvalidCall = 5,
    ErrOverflow = 6,
    ErrOutOfMemory = 7,
    ErrSubscript = 9,
    ErrArrayLocked = 10,
    ErrDivisionByZero = 11,
    ErrTypeMismatch = 13,
    ErrOutOfStringSpace = 14,
    ErrInterrupted = 18,
    ErrResumeWithoutError = 20,
    ErrOutOfStack = 28,
    ErrProcedureNotDefined = 35,
    ErrInternal = 51,
    ErrFileNotFound = 53,
    ErrFileAlreadyOpen = 55,
    ErrPermissionDenied = 70,
    ErrPathAccess = 75,
    ErrObjectNotSet = 91,
    ErrForNotInitialized = 92,
    ErrInvalidUseOfNull = 94,
    ErrBadFileFormat = 321,
    ErrInvalidPropertyValue = 380,
    ErrPropertyReadOnly = 383,
    ErrObjectRequired = 424,
    ErrCannotCreateObject = 429,
    ErrNoSuchMember = 438,
    ErrAutomation = 440,
    ErrArgumentNotOptional = 449,
    ErrWrongArguments = 450,
    ErrNotACollection = 451,
    ErrKeyExists = 457,
    ErrElementNotFound = 32811,

    // ADO's errors.
    ErrNoCurrentRecord = 3021,
    ErrNotAllowedInContext = 3219,
    ErrNotCapable = 3251,
    ErrItemNotFound = 3265,
    ErrObjectClosed = 3704,
    ErrObjectOpen = 3705,
    ErrProviderNotFound = 3706,
    ErrConnectionUnusable = 3709,
    ErrProviderFailed = -2147467259,   // E_FAIL, what providers report when they cannot connect or read
    ErrSqlStatement = -2147217900,     // DB_E_ERRORSINCOMMAND
    ErrPermissionDeniedByData = -2147217911, // DB_SEC_E_PERMISSIONDENIED
};

// The text users see for an error raised without one of its own; empty for
// numbers not listed here.
inline QString errorDescription(ErrorNumber number)
{
    switch (number) {
    case ErrInvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case ErrOverflow: return QStringLiteral("Overflow");
    case ErrOutOfMemory: return QStringLiteral("Out of memory");
    case ErrSubscript: return QStringLiteral("Subscript out of range");
    case ErrArrayLocked: return QStringLiteral("This array is fixed or temporarily locked");
    case ErrDivisionByZero: return QStringLiteral("Division by zero");
    case ErrTypeMismatch: return QStringLiteral("Type mismatch");
    case ErrOutOfStringSpace: return QStringLiteral("Out of string space");
    case ErrInterrupted: return QStringLiteral("User interrupt occurred");
    case ErrResumeWithoutError: return QStringLiteral("Resume without error");
    case ErrOutOfStack: return QStringLiteral("Out of stack space");
    case ErrProcedureNotDefined: return QStringLiteral("Sub or Function not defined");
    case ErrInternal: return QStringLiteral("Internal error");
    case ErrFileNotFound: return QStringLiteral("File not found");
    case ErrFileAlreadyOpen: return QStringLiteral("File already open");
    case ErrPermissionDenied: return QStringLiteral("Permission denied");
    case ErrPathAccess: return QStringLiteral("Path/File access error");
    case ErrObjectNotSet: return QStringLiteral("Object variable or With block variable not set");
    case ErrForNotInitialized: return QStringLiteral("For loop not initialized");
    case ErrInvalidUseOfNull: return QStringLiteral("Invalid use of Null");
    case ErrBadFileFormat: return QStringLiteral("Invalid file format");
    case ErrInvalidPropertyValue: return QStringLiteral("Invalid property value");
    case ErrPropertyReadOnly: return QStringLiteral("Can't assign to read-only property");
    case ErrObjectRequired: return QStringLiteral("Object required");
    case ErrCannotCreateObject: return QStringLiteral("ActiveX component can't create object");
    case ErrNoSuchMember: return QStringLiteral("Object doesn't support this property or method");
    case ErrAutomation: return QStringLiteral("Automation error");
    case ErrArgumentNotOptional: return QStringLiteral("Argument not optional");
    case ErrWrongArguments: return QStringLiteral("Wrong number of arguments or invalid property assignment");
    case ErrNotACollection: return QStringLiteral("Object not a collection");
    case ErrKeyExists: return QStringLiteral("This key is already associated with an element of this collection");
    case ErrElementNotFound: return QStringLiteral("Element not found");
    case ErrNoCurrentRecord: return QStringLiteral("Either BOF or EOF is True, or the current record has been deleted.");
    case ErrNotAllowedInContext: return QStringLiteral("Operation is not allowed in this context.");
    case ErrNotCapable: return QStringLiteral("Object or provider is not capable of performing requested operation.");
    case ErrItemNotFound: return QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal.");
    case ErrObjectClosed: return QStringLiteral("Operation is not allowed when the object is closed.");
    case ErrObjectOpen: return QStringLiteral("Operation is not allowed when the object is open.");
    case ErrProviderNotFound: return QStringLiteral("Provider cannot be found. It may not be properly installed.");
    case ErrConnectionUnusable: return QStringLiteral("The connection cannot be used to perform this operation.");
    default: break;  // the provider's errors always carry the provider's text
    }
    return QString();
}

} // namespace Orv
