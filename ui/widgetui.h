#pragma once

#include "ui/uiseam.h"

#include <QCoreApplication>

class QWidget;

namespace Orv {

// The Ui of the running program: Qt's standard dialogs, parented to a
// window so they stay in front of it.
class WidgetUi : public Ui
{
    Q_DECLARE_TR_FUNCTIONS(WidgetUi)

public:
    explicit WidgetUi(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParentWidget(QWidget *parent) { m_parent = parent; }

    MessageResult messageBox(const QString &text, const QString &title, MessageButtons buttons = MessageButtons::Ok,
                             MessageIcon icon = MessageIcon::None) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &defaultText = QString()) override;
    QString openFileName(const FileDialogRequest &request) override;
    QString saveFileName(const FileDialogRequest &request) override;
    QString browseFolder(const QString &title, const QString &startFolder) override;
    std::optional<int> chooseColor(int initial, const QString &title = QString()) override;
    std::optional<FontChoice> chooseFont(const FontChoice &initial) override;
    std::optional<double> inputNumber(const QString &prompt, const QString &title, double initial, double minimum,
                                      double maximum, int decimals) override;
    std::optional<int> chooseItem(const QString &prompt, const QString &title, const QStringList &items,
                                  int current) override;
    std::optional<QList<int>> chooseOrder(const QString &title, const QStringList &items) override;
    std::optional<BorderChoice> chooseBorder(const BorderChoice &initial) override;
    std::optional<QString> editText(const QString &title, const QString &text) override;
    bool printDialog(QPrinter &printer, int minPage, int maxPage) override;
    bool pageSetupDialog(QPrinter &printer) override;
    QString clipboardText() const override;
    void setClipboardText(const QString &text) override;

private:
    QWidget *m_parent;
};

} // namespace Orv
