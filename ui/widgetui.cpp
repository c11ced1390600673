#include "ui/widgetui.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

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

QStringList borderStyleNames()
{
    static const char *const names[] = {
        QT_TRANSLATE_NOOP("WidgetUi", "无"),         QT_TRANSLATE_NOOP("WidgetUi", "实线"),
        QT_TRANSLATE_NOOP("WidgetUi", "虚线"),       QT_TRANSLATE_NOOP("WidgetUi", "点线"),
        QT_TRANSLATE_NOOP("WidgetUi", "点划线"),     QT_TRANSLATE_NOOP("WidgetUi", "双点划线"),
        QT_TRANSLATE_NOOP("WidgetUi", "双线"),       QT_TRANSLATE_NOOP("WidgetUi", "粗实线"),
        QT_TRANSLATE_NOOP("WidgetUi", "粗虚线"),     QT_TRANSLATE_NOOP("WidgetUi", "粗点线"),
        QT_TRANSLATE_NOOP("WidgetUi", "粗点划线"),   QT_TRANSLATE_NOOP("WidgetUi", "粗双点划线"),
        QT_TRANSLATE_NOOP("WidgetUi", "粗双线"),     QT_TRANSLATE_NOOP("WidgetUi", "特粗实线")};
    QStringList list;
    for (const char *name : names)
        list << WidgetUi::tr(name);
    return list;
}

// OK and Cancel at the foot of a dialog.
void addButtons(QDialog &dialog, QVBoxLayout *layout)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
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

std::optional<int> WidgetUi::chooseColor(int initial, const QString &title)
{
    const QColor c = QColorDialog::getColor(toQColor(initial), m_parent, title.isEmpty() ? tr("颜色") : title);
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

std::optional<double> WidgetUi::inputNumber(const QString &prompt, const QString &title, double initial,
                                            double minimum, double maximum, int decimals)
{
    bool ok = false;
    const double value = QInputDialog::getDouble(m_parent, title, prompt, initial, minimum, maximum, decimals, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<int> WidgetUi::chooseItem(const QString &prompt, const QString &title, const QStringList &items,
                                        int current)
{
    if (items.isEmpty())
        return std::nullopt;
    bool ok = false;
    const QString item = QInputDialog::getItem(m_parent, title, prompt, items,
                                               std::clamp(current, 0, int(items.size()) - 1), false, &ok);
    if (!ok)
        return std::nullopt;
    return int(items.indexOf(item));
}

std::optional<QList<int>> WidgetUi::chooseOrder(const QString &title, const QStringList &items)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    auto *list = new QListWidget;
    for (int i = 0; i < items.size(); ++i) {
        auto *item = new QListWidgetItem(items[i], list);
        item->setData(Qt::UserRole, i);
    }
    list->setCurrentRow(0);
    auto move = [list](int by) {
        const int row = list->currentRow();
        const int to = row + by;
        if (row < 0 || to < 0 || to >= list->count())
            return;
        QListWidgetItem *item = list->takeItem(row);
        list->insertItem(to, item);
        list->setCurrentRow(to);
    };
    auto *up = new QPushButton(tr("上移"));
    auto *down = new QPushButton(tr("下移"));
    QObject::connect(up, &QPushButton::clicked, &dialog, [move] { move(-1); });
    QObject::connect(down, &QPushButton::clicked, &dialog, [move] { move(1); });
    auto *side = new QVBoxLayout;
    side->addWidget(up);
    side->addWidget(down);
    side->addStretch();
    auto *row = new QHBoxLayout;
    row->addWidget(list);
    row->addLayout(side);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(row);
    addButtons(dialog, layout);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QList<int> order;
    for (int i = 0; i < list->count(); ++i)
        order.append(list->item(i)->data(Qt::UserRole).toInt());
    return order;
}

std::optional<BorderChoice> WidgetUi::chooseBorder(const BorderChoice &initial)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(tr("边框"));
    auto *form = new QFormLayout;
    auto *sides = new QHBoxLayout;
    QCheckBox *boxes[4];
    const char *const names[4] = {QT_TR_NOOP("左"), QT_TR_NOOP("上"), QT_TR_NOOP("右"), QT_TR_NOOP("下")};
    const int masks[4] = {BorderChoice::Left, BorderChoice::Top, BorderChoice::Right, BorderChoice::Bottom};
    for (int i = 0; i < 4; ++i) {
        boxes[i] = new QCheckBox(tr(names[i]));
        boxes[i]->setChecked(initial.sides & masks[i]);
        sides->addWidget(boxes[i]);
    }
    form->addRow(tr("边框线:"), sides);
    auto *style = new QComboBox;
    style->addItems(borderStyleNames());
    style->setCurrentIndex(std::clamp(initial.style, 0, int(borderStyleNames().size()) - 1));
    form->addRow(tr("样式:"), style);
    int color = initial.color;
    auto *colorButton = new QPushButton(tr("颜色..."));
    QObject::connect(colorButton, &QPushButton::clicked, &dialog, [&] {
        const QColor c = QColorDialog::getColor(toQColor(color), &dialog, tr("边框颜色"));
        if (c.isValid())
            color = toNumber(c);
    });
    form->addRow(tr("颜色:"), colorButton);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(form);
    addButtons(dialog, layout);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    BorderChoice result;
    result.style = style->currentIndex();
    result.sides = 0;
    for (int i = 0; i < 4; ++i)
        result.sides |= boxes[i]->isChecked() ? masks[i] : 0;
    result.color = color;
    return result;
}

std::optional<QString> WidgetUi::editText(const QString &title, const QString &text)
{
    QDialog dialog(m_parent);
    dialog.setWindowTitle(title);
    auto *edit = new QPlainTextEdit(text, &dialog);
    edit->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    addButtons(dialog, layout);
    dialog.resize(560, 360);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return edit->toPlainText();
}

QString WidgetUi::clipboardText() const
{
    return QApplication::clipboard()->text();
}

void WidgetUi::setClipboardText(const QString &text)
{
    QApplication::clipboard()->setText(text);
}

bool WidgetUi::printDialog(QPrinter &printer, int minPage, int maxPage)
{
    QPrintDialog dialog(&printer, m_parent);
    dialog.setMinMax(minPage, maxPage);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange
                      | QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintCurrentPage
                      | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

bool WidgetUi::pageSetupDialog(QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, m_parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace Orv
