#pragma once
// The script editor's rules, without a window: the scripts of a design
// (the report's and each section's), their edited texts, the check that
// compiles one with the report script interpreter, find and replace, and
// the colouring of a line. Applying writes every changed script into the
// design as one undo step.
#include "engine/core/status.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <vector>

namespace Orv {

class DesignerCore;

class ScriptEditorModel
{
public:
    explicit ScriptEditorModel(DesignerCore &core);

    // The report first, then the sections in report order.
    int count() const { return int(m_entries.size()); }
    QString title(int index) const;
    QString text(int index) const;
    void setText(int index, const QString &text);
    bool isModified(int index) const;
    bool anyModified() const;
    // The entry of a section (or the report), -1 when it has none.
    int indexOf(const QObject *owner) const;

    // Writes the changed scripts into the design as one undo step; false
    // when nothing had changed or the objects are gone.
    bool apply();

    // Compiles one script without running it. On failure line and column
    // (1-based) say where, message what.
    struct CheckResult
    {
        bool ok = true;
        int line = 0;
        int column = 0;
        QString message;
    };
    CheckResult check(int index) const;
    static CheckResult checkText(const QString &text, const QString &sectionName);

    // The first match of what at or after from (wrapping to the start), or
    // -1; whole words only when wholeWord.
    struct FindOptions
    {
        bool matchCase = false;
        bool wholeWord = false;
        bool backwards = false;
    };
    static int find(const QString &text, const QString &what, int from, const FindOptions &options);
    // Replaces every match; returns how many.
    static int replaceAll(QString *text, const QString &what, const QString &with, const FindOptions &options);

    // Colouring: spans of one line, each with its kind.
    enum class Token { Keyword, String, Comment, Number };
    struct Span
    {
        int start = 0;
        int length = 0;
        Token token = Token::Keyword;
    };
    static QList<Span> highlight(const QString &line);

private:
    struct Entry
    {
        QPointer<QObject> owner;
        QString name; // a section's name; empty for the report
        QString title;
        QString original;
        QString text;
    };
    DesignerCore &m_core;
    std::vector<Entry> m_entries;
};

} // namespace Orv
