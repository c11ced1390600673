#include "ui/widgetui.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace Orv {

namespace {

QMessageBox::StandardButtons standardButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Exclamation: return QMessageBox::Warning;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

MessageResult resultOf(int button)
{
    switch (button) {
    case QMessageBox::Ok: return MessageResult::Ok;
    case QMessageBox::Abort: return MessageResult::Abort;
    case QMessageBox::Retry: return MessageResult::Retry;
    case QMessageBox::Ignore: return MessageResult::Ignore;
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    default: return MessageResult::Cancel;
    }
}

QColor toQColor(int number)
{
    return QColor(number & 0xFF, (number >> 8) & 0xFF, (number >> 16) & 0xFF);
}

int toNumber(const QColor &c)
{
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

QString startPath(const FileDialogRequest &r)
{
    if (r.fileName.isEmpty())
        return r.folder;
    return r.folder.isEmpty() ? r.fileName : QDir(r.folder).filePath(r.fileName);
}

QString selectedFilter(const FileDialogRequest &r)
{
    return r.filter.split(QLatin1String(";;")).value(r.filterIndex);
}

} // namespace

MessageResult WidgetUi::messageBox(const QString &text, const QString &title, MessageButtons buttons,
                                   MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), title, text, standardButtons(buttons), m_parent);
    return resultOf(box.exec());
}

std::optional<QString> WidgetUi::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, title, prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString WidgetUi::openFileName(const FileDialogRequest &request)
{
    QString filter = selectedFilter(request);
    return QFileDialog::getOpenFileName(m_parent, request.title, startPath(request), request.filter, &filter);
}

QString WidgetUi::saveFileName(const FileDialogRequest &request)
{
    QString filter = selectedFilter(request);
    return QFileDialog::getSaveFileName(m_parent, request.title, startPath(request), request.filter, &filter);
}

QString WidgetUi::browseFolder(const QString &title, const QString &startFolder)
{
    return QFileDialog::getExistingDirectory(m_parent, title, startFolder);
}

std::optional<int> WidgetUi::chooseColor(int initial)
{
    const QColor c = QColorDialog::getColor(toQColor(initial), m_parent);
    if (!c.isValid())
        return std::nullopt;
    return toNumber(c);
}

std::optional<FontChoice> WidgetUi::chooseFont(const FontChoice &initial)
{
    QFont font(initial.name);
    font.setPointSizeF(initial.size);
    font.setBold(initial.bold);
    font.setItalic(initial.italic);
    font.setUnderline(initial.underline);
    font.setStrikeOut(initial.strikethrough);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, m_parent);
    if (!ok)
        return std::nullopt;
    return FontChoice{chosen.family(), chosen.pointSizeF(), chosen.bold(), chosen.italic(), chosen.underline(),
                      chosen.strikeOut()};
}

QString WidgetUi::clipboardText() const
{
    return QApplication::clipboard()->text();
}

void WidgetUi::setClipboardText(const QString &text)
{
    QApplication::clipboard()->setText(text);
}

} // namespace Orv
