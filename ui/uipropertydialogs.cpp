#include "ui/uipropertydialogs.h"

#include "engine/widgets/propertylist/propertytext.h"

#include <QImageReader>

namespace Orv {

std::optional<int> UiPropertyDialogs::chooseColor(int color)
{
    // System colour numbers are offered as the colour they stand for.
    return m_ui.chooseColor(PropertyText::colorNumber(PropertyText::colorRgb(color)), tr("颜色"));
}

std::optional<QFont> UiPropertyDialogs::chooseFont(const QFont &font)
{
    const auto chosen = m_ui.chooseFont(
        {font.family(), font.pointSizeF() > 0 ? font.pointSizeF() : 10, font.bold(), font.italic(), font.underline(),
         font.strikeOut()});
    if (!chosen)
        return std::nullopt;
    QFont result(chosen->name);
    result.setPointSizeF(chosen->size > 0 ? chosen->size : 10);
    result.setBold(chosen->bold);
    result.setItalic(chosen->italic);
    result.setUnderline(chosen->underline);
    result.setStrikeOut(chosen->strikethrough);
    return result;
}

QString UiPropertyDialogs::choosePicture()
{
    QStringList patterns;
    for (const QByteArray &format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    FileDialogRequest request;
    request.title = tr("图片");
    request.filter = tr("图片 (%1);;所有文件 (*)").arg(patterns.join(u' '));
    return m_ui.openFileName(request);
}

std::optional<QString> UiPropertyDialogs::editText(const QString &title, const QString &text)
{
    if (const auto it = m_textEditors.constFind(title.toCaseFolded()); it != m_textEditors.cend())
        return (*it)(text);
    return m_ui.editText(title, text);
}

void UiPropertyDialogs::setTextEditor(const QString &property, TextEditor editor)
{
    if (editor)
        m_textEditors.insert(property.toCaseFolded(), std::move(editor));
    else
        m_textEditors.remove(property.toCaseFolded());
}

void UiPropertyDialogs::showError(const Status &status)
{
    m_ui.messageBox(errorText(status), tr("错误: 属性值"), MessageButtons::Ok,
                    MessageIcon::Exclamation);
}

} // namespace Orv
