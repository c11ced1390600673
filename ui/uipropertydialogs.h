#pragma once
// The property list's dialogs on the program's Ui seam.
#include "engine/widgets/propertylist/propertydelegate.h"
#include "ui/uiseam.h"

#include <QCoreApplication>
#include <QHash>

#include <functional>

namespace Orv {

class UiPropertyDialogs : public PropertyDialogs
{
    Q_DECLARE_TR_FUNCTIONS(UiPropertyDialogs)

public:
    explicit UiPropertyDialogs(Ui &ui) : m_ui(ui) {}

    std::optional<int> chooseColor(int color) override;
    std::optional<QFont> chooseFont(const QFont &font) override;
    QString choosePicture() override;
    std::optional<QString> editText(const QString &title, const QString &text) override;
    // The common error box, titled "Error: Property Value".
    void showError(const Status &status) override;

    // A dialog of its own for one long-text property (by name, without
    // regard to case) in place of the text editor.
    using TextEditor = std::function<std::optional<QString>(const QString &text)>;
    void setTextEditor(const QString &property, TextEditor editor);

private:
    Ui &m_ui;
    QHash<QString, TextEditor> m_textEditors; // by case-folded name
};

} // namespace Orv
