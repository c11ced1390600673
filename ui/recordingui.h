#pragma once

#include "ui/uiseam.h"

#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QStringList>

#include <deque>
#include <variant>

namespace Orv {

// A Ui that shows nothing: it records every request and answers from
// queues the test fills beforehand. An empty queue gives the answer a user
// closing the window would give (Cancel, or OK for an OK-only box).
class RecordingUi : public Ui
{
public:
    enum class Kind {
        MessageBox,
        InputBox,
        OpenFile,
        SaveFile,
        BrowseFolder,
        ChooseColor,
        ChooseFont,
        InputNumber,
        ChooseItem,
        ChooseOrder,
        ChooseBorder,
        EditText,
        PrintDialog,
        PageSetup
    };

    // What a user picks in the print dialog: pages from and to (1-based,
    // 0 for all), copies, collation, and a file to print to (a PDF) or the
    // printer's own output when empty.
    struct PrintChoice
    {
        int from = 0;
        int to = 0;
        int copies = 1;
        bool collate = true;
        QString outputFile;
    };
    // What a user sets in the page-setup dialog.
    struct PageSetupChoice
    {
        QPageLayout layout;
    };

    struct Request
    {
        Kind kind = Kind::MessageBox;
        QString text;  // message, prompt, the dialog's proposed file name or the text edited
        QString title;
        MessageButtons buttons = MessageButtons::Ok;
        MessageIcon icon = MessageIcon::None;
        FileDialogRequest file;
        QStringList items;  // what chooseItem and chooseOrder offer
        double initial = 0; // the number, item position, colour or border style offered
    };

    // chooseItem takes a position (int) or an item's text; inputNumber a
    // double or an int.
    // printDialog takes a PrintChoice, pageSetupDialog a PageSetupChoice.
    using Answer = std::variant<MessageResult, QString, std::nullopt_t, int, FontChoice, double, QList<int>,
                                BorderChoice, PrintChoice, PageSetupChoice>;

    void answer(Answer a) { m_answers.push_back(std::move(a)); }
    const QList<Request> &requests() const { return m_requests; }
    // The last request's text and title, for the common one-box case.
    Request last() const { return m_requests.isEmpty() ? Request() : m_requests.last(); }
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear()
    {
        m_requests.clear();
        m_answers.clear();
    }

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

    QString clipboardText() const override { return m_clipboard; }
    void setClipboardText(const QString &text) override { m_clipboard = text; }

private:
    template<typename T>
    std::optional<T> take();
    void record(Kind kind, const QString &text, const QString &title, MessageButtons buttons = MessageButtons::OkCancel,
                MessageIcon icon = MessageIcon::None, const FileDialogRequest &file = FileDialogRequest(),
                const QStringList &items = QStringList(), double initial = 0);

    QList<Request> m_requests;
    std::deque<Answer> m_answers;
    QString m_clipboard;
};

} // namespace Orv
