#include "dialogs/export/frmexport.h"

#include "dialogs/common/dialogbanner.h"

#include "engine/core/units.h"
#include "engine/pages/pagecollection.h"
#include "ui/uiseam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace Orv {

namespace {

// Where the shown option page starts, and where hidden ones go.
constexpr int PageLeftTwips = 1560;
constexpr int HiddenLeftTwips = -10000;

int pixels(int twips)
{
    return int(twips / Units::TwipsPerPixel);
}

// The option area: the shown page fills it from its left edge on.
class OptionArea : public QWidget
{
public:
    using QWidget::QWidget;
    QList<QWidget *> pages;

    void place()
    {
        // isHidden, not isVisible: a page chosen before the dialog is shown counts as shown.
        for (QWidget *page : std::as_const(pages)) {
            if (!page->isHidden())
                page->setGeometry(pixels(PageLeftTwips), 0, std::max(0, width() - pixels(PageLeftTwips)), height());
            else
                page->move(pixels(HiddenLeftTwips), 0);
        }
    }

protected:
    void resizeEvent(QResizeEvent *) override { place(); }
};

QGridLayout *pageGrid(QWidget *page)
{
    auto *grid = new QGridLayout(page);
    grid->setContentsMargins(0, 0, 12, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    grid->setColumnStretch(1, 1);
    return grid;
}

QComboBox *listBox(QWidget *parent, const char *name, const QStringList &items, int current)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    box->setCurrentIndex(current);
    return box;
}

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &text)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

// A check box counts only when ticked (not when greyed).
bool ticked(const QCheckBox *box)
{
    return box->checkState() == Qt::Checked;
}

} // namespace

frmExport::frmExport(Ui &ui, QWidget *parent) : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("frmExport"));
    setWindowTitle(tr("输出"));
    setModal(true);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 10);
    outer->setSpacing(8);

    auto *banner = new DialogBanner(tr("输出"), tr("请选择一个输出文件格式"), this);
    outer->addWidget(banner);
    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    outer->addWidget(rule);

    // The format list.
    auto *formatRow = new QHBoxLayout;
    formatRow->setContentsMargins(12, 0, 12, 0);
    formatRow->setSpacing(0);
    auto *formatLabel = new QLabel(tr("输出格式"), this);
    formatLabel->setObjectName(QStringLiteral("lblExportFormat"));
    formatLabel->setFixedWidth(pixels(PageLeftTwips) - 12);
    m_cboExportFormat = new QComboBox(this);
    m_cboExportFormat->setObjectName(QStringLiteral("cboExportFormat"));
    m_cboExportFormat->addItems(ExportDialogModel::formatNames());
    m_cboExportFormat->setCurrentIndex(-1);
    formatLabel->setBuddy(m_cboExportFormat);
    formatRow->addWidget(formatLabel);
    formatRow->addWidget(m_cboExportFormat, 1);
    outer->addLayout(formatRow);

    // The option pages, none shown until a format is chosen.
    auto *area = new OptionArea(this);
    m_optionArea = area;
    m_optionArea->setObjectName(QStringLiteral("picOptionArea"));
    auto *optionsLabel = new QLabel(tr("输出选项"), m_optionArea);
    optionsLabel->setObjectName(QStringLiteral("lblOptions"));
    optionsLabel->move(12, 4);
    m_picOptions[0] = buildRtfOrTiffPage(0);
    m_picOptions[1] = buildPdfPage();
    m_picOptions[2] = buildHtmlPage();
    m_picOptions[3] = buildExcelPage();
    m_picOptions[4] = buildRtfOrTiffPage(4);
    m_picOptions[5] = buildTextPage();
    for (int i = 0; i < 6; ++i) {
        m_picOptions[i]->setObjectName(QStringLiteral("picOptions_%1").arg(i));
        m_picOptions[i]->hide();
        area->pages << m_picOptions[i];
    }
    m_optionArea->setMinimumHeight(310);
    outer->addWidget(m_optionArea, 1);

    // Progress of a long export, and the buttons.
    auto *bottom = new QHBoxLayout;
    bottom->setContentsMargins(12, 0, 12, 0);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("prgExport"));
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lblNote"));
    m_btnOK = new QPushButton(tr("确定"), this);
    m_btnOK->setObjectName(QStringLiteral("btnOK"));
    m_btnOK->setDefault(true);
    m_btnCancel = new QPushButton(tr("取消"), this);
    m_btnCancel->setObjectName(QStringLiteral("btnCancel"));
    bottom->addWidget(m_note, 1);
    bottom->addWidget(m_progress, 1);
    bottom->addWidget(m_btnOK);
    bottom->addWidget(m_btnCancel);
    outer->addLayout(bottom);

    connect(m_cboExportFormat, &QComboBox::activated, this, &frmExport::formatChosen);
    connect(m_btnOK, &QPushButton::clicked, this, &frmExport::exportClicked);
    connect(m_btnCancel, &QPushButton::clicked, this, &frmExport::reject);
    resize(620, 520);
}

frmExport::~frmExport() = default;

QLineEdit *frmExport::fileRow(QWidget *page, int index, const QString &label, QGridLayout *grid, int row)
{
    auto *caption = new QLabel(label, page);
    m_txtFilename[index] = new QLineEdit(page);
    m_txtFilename[index]->setObjectName(QStringLiteral("txtFilename_%1").arg(index));
    caption->setBuddy(m_txtFilename[index]);
    grid->addWidget(caption, row, 0);
    if (ExportDialogModel::hasBrowseButton(ExportFormat(index))) {
        auto *line = new QHBoxLayout;
        line->setSpacing(4);
        line->addWidget(m_txtFilename[index], 1);
        m_btnBrowse[index] = new QPushButton(QStringLiteral("..."), page);
        m_btnBrowse[index]->setObjectName(QStringLiteral("btnBrowse_%1").arg(index));
        m_btnBrowse[index]->setFixedWidth(32);
        m_btnBrowse[index]->setToolTip(tr("浏览"));
        connect(m_btnBrowse[index], &QPushButton::clicked, this, [this, index] { browseFile(index); });
        line->addWidget(m_btnBrowse[index]);
        grid->addLayout(line, row, 1, 1, 2);
    } else {
        grid->addWidget(m_txtFilename[index], row, 1, 1, 2);
    }
    return m_txtFilename[index];
}

QWidget *frmExport::buildRtfOrTiffPage(int index)
{
    auto *page = new QWidget(m_optionArea);
    QGridLayout *grid = pageGrid(page);
    fileRow(page, index, tr("文件名:"), grid, 0);
    grid->setRowStretch(1, 1);
    return page;
}

QWidget *frmExport::buildPdfPage()
{
    auto *page = new QWidget(m_optionArea);
    QGridLayout *grid = pageGrid(page);
    fileRow(page, 1, tr("文件名:"), grid, 0);
    const ExportEntries::Pdf initial;
    m_cboAcrobatVersion = listBox(page, "cboAcrobatVersion", ExportDialogModel::acrobatVersions(), initial.acrobatVersion);
    grid->addWidget(new QLabel(tr("文档版本:"), page), 1, 0);
    grid->addWidget(m_cboAcrobatVersion, 1, 1);
    m_cboPDFJPGQuality = listBox(page, "cboPDFJPGQuality", ExportDialogModel::jpegQualities(), initial.jpegQuality);
    grid->addWidget(new QLabel(tr("JPG 质量:"), page), 2, 0);
    grid->addWidget(m_cboPDFJPGQuality, 2, 1);
    m_lstPDFFonts = new QListWidget(page);
    m_lstPDFFonts->setObjectName(QStringLiteral("lstPDFFonts"));
    m_lstPDFFonts->setSelectionMode(QAbstractItemView::MultiSelection);
    m_lstPDFFonts->addItems(QFontDatabase::families());
    auto *fontsLabel = new QLabel(tr("不嵌入的字体:"), page);
    fontsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(fontsLabel, 3, 0);
    grid->addWidget(m_lstPDFFonts, 3, 1, 1, 2);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget *frmExport::buildHtmlPage()
{
    auto *page = new QWidget(m_optionArea);
    QGridLayout *grid = pageGrid(page);
    fileRow(page, 2, tr("文件前缀:"), grid, 0);
    const auto folderRow = [&](int row, const QString &label, const char *boxName, const char *buttonName,
                               QLineEdit **box, const QString &title, const QString &errorTitle) {
        *box = new QLineEdit(page);
        (*box)->setObjectName(QString::fromLatin1(boxName));
        auto *button = new QPushButton(QStringLiteral("..."), page);
        button->setObjectName(QString::fromLatin1(buttonName));
        button->setFixedWidth(32);
        button->setToolTip(tr("浏览"));
        QLineEdit *target = *box;
        connect(button, &QPushButton::clicked, this, [this, target, title, errorTitle] { browseFolder(target, title, errorTitle); });
        auto *line = new QHBoxLayout;
        line->setSpacing(4);
        line->addWidget(*box, 1);
        line->addWidget(button);
        grid->addWidget(new QLabel(label, page), row, 0);
        grid->addLayout(line, row, 1, 1, 2);
    };
    folderRow(1, tr("网页路径:"), "txtHTMLFolder", "btnHTMLFolder", &m_txtHTMLFolder, tr("Select the HTML pages folder"),
              tr("HTML Folder Select Error"));
    folderRow(2, tr("图标路径:"), "txtAuxFolder", "btnAuxFolder", &m_txtAuxFolder, tr("Select the HTML images folder"),
              tr("Images Folder Select Error"));
    m_txtHTMLCharset = new QLineEdit(page);
    m_txtHTMLCharset->setObjectName(QStringLiteral("txtHTMLCharset"));
    m_txtHTMLCharset->setPlaceholderText(QStringLiteral("UTF-8"));
    grid->addWidget(new QLabel(tr("字符集:"), page), 3, 0);
    grid->addWidget(m_txtHTMLCharset, 3, 1, 1, 2);
    m_txtHTMLTitle = new QLineEdit(page);
    m_txtHTMLTitle->setObjectName(QStringLiteral("txtHTMLTitle"));
    grid->addWidget(new QLabel(tr("标题:"), page), 4, 0);
    grid->addWidget(m_txtHTMLTitle, 4, 1, 1, 2);
    const ExportEntries::Html initial;
    m_cboHTMLVersion = listBox(page, "cboHTMLVersion", ExportDialogModel::htmlVersions(), initial.version);
    grid->addWidget(new QLabel(tr("网页格式:"), page), 5, 0);
    grid->addWidget(m_cboHTMLVersion, 5, 1);
    m_cboTOCFormat = listBox(page, "cboTOCFormat", ExportDialogModel::tocFormats(), initial.tocFormat);
    grid->addWidget(new QLabel(tr("目录格式:"), page), 6, 0);
    grid->addWidget(m_cboTOCFormat, 6, 1);
    m_chkCreateCSS = checkBox(page, "chkCreateCSS", tr("建立CSS层"));
    m_chkCreateFrameset = checkBox(page, "chkCreateFrameset", tr("建立Frames框架"));
    m_chkMHTArchive = checkBox(page, "chkMHTArchive", tr("建立 MIME 存档"));
    m_chkSinglePage = checkBox(page, "chkSinglePage", tr("单网页输出"));
    auto *checks = new QGridLayout;
    checks->addWidget(m_chkCreateCSS, 0, 0);
    checks->addWidget(m_chkCreateFrameset, 0, 1);
    checks->addWidget(m_chkMHTArchive, 1, 0);
    checks->addWidget(m_chkSinglePage, 1, 1);
    grid->addLayout(checks, 7, 0, 1, 3);
    grid->setRowStretch(8, 1);
    return page;
}

QWidget *frmExport::buildExcelPage()
{
    auto *page = new QWidget(m_optionArea);
    QGridLayout *grid = pageGrid(page);
    grid->setColumnStretch(1, 0);
    grid->setColumnStretch(3, 1);
    fileRow(page, 3, tr("文件名:"), grid, 0);
    const ExportEntries::Excel initial;
    m_cboXLSVersion = listBox(page, "cboXLSVersion", ExportDialogModel::excelVersions(), initial.version);
    grid->addWidget(new QLabel(tr("版本:"), page), 1, 0);
    grid->addWidget(m_cboXLSVersion, 1, 1);
    const ExportEntries::Excel &defaults = m_model.entries().excel;
    const auto twipsRow = [&](int row, const QString &label, const char *name, const QString &text) {
        auto *box = new QLineEdit(text, page);
        box->setObjectName(QString::fromLatin1(name));
        box->setFixedWidth(90);
        box->setAlignment(Qt::AlignRight);
        grid->addWidget(new QLabel(label, page), row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(new QLabel(tr("缇"), page), row, 2);
        return box;
    };
    m_txtXLSBorderSpace = twipsRow(2, tr("边框空格:"), "txtXLSBorderSpace", defaults.borderSpace);
    m_txtXLSMinColWidth = twipsRow(3, tr("最小列宽:"), "txtXLSMinColWidth", defaults.minColumnWidth);
    m_txtXLSMinRowHeight = twipsRow(4, tr("最小行高:"), "txtXLSMinRowHeight", defaults.minRowHeight);
    const std::pair<const char *, QString> checks[6] = {
        {"chkXLSAutoRowHeight", tr("自动行高")},        {"chkXLSDoubleBoundaries", tr("双边界")},
        {"chkXLSGenPageBreaks", tr("产生分页符")},      {"chkXLSMultisheet", tr("生成多个工作表")},
        {"chkXLSShowMarginSpace", tr("显示缘空间")},    {"chkXLSTrimEmptySpace", tr("去掉空格")}};
    auto *boxes = new QGridLayout;
    for (int i = 0; i < 6; ++i) {
        m_chkXLS[i] = checkBox(page, checks[i].first, checks[i].second);
        boxes->addWidget(m_chkXLS[i], i / 2, i % 2);
    }
    grid->addLayout(boxes, 5, 0, 1, 4);
    grid->setRowStretch(6, 1);
    return page;
}

QWidget *frmExport::buildTextPage()
{
    auto *page = new QWidget(m_optionArea);
    QGridLayout *grid = pageGrid(page);
    fileRow(page, 5, tr("文件名:"), grid, 0);
    m_txtTXTTextDelimiter = new QLineEdit(page);
    m_txtTXTTextDelimiter->setObjectName(QStringLiteral("txtTXTTextDelimiter"));
    m_txtTXTTextDelimiter->setFixedWidth(90);
    grid->addWidget(new QLabel(tr("文字定界符:"), page), 1, 0);
    grid->addWidget(m_txtTXTTextDelimiter, 1, 1, Qt::AlignLeft);
    m_chkTXTSupressEmptyLines = checkBox(page, "chkTXTSupressEmptyLines", tr("禁止空行"));
    m_chkTXTUnicode = checkBox(page, "chkTXTUnicode", tr("Unicode"));
    grid->addWidget(m_chkTXTSupressEmptyLines, 2, 0, 1, 2);
    grid->addWidget(m_chkTXTUnicode, 3, 0, 1, 2);
    grid->setRowStretch(4, 1);
    return page;
}

void frmExport::formatChosen(int index)
{
    if (index < 0)
        return;
    m_model.setFormat(index);
    for (QWidget *page : m_picOptions)
        page->hide();
    m_picOptions[index]->show();
    static_cast<OptionArea *>(m_optionArea)->place();
    m_note->clear();
}

void frmExport::chooseFormat(int index)
{
    m_cboExportFormat->setCurrentIndex(index);
    formatChosen(index);
}

void frmExport::browseFile(int index)
{
    FileDialogRequest request;
    request.title = tr("输出");
    request.filter = ExportDialogModel::browseFilter(ExportFormat(index));
    request.fileName = m_txtFilename[index]->text();
    const QString path = m_ui.saveFileName(request);
    if (!path.isEmpty())
        m_txtFilename[index]->setText(path);
}

void frmExport::browseFolder(QLineEdit *box, const QString &title, const QString &errorTitle)
{
    const QString folder = m_ui.browseFolder(title, QString());
    if (folder.isEmpty())
        return;
    // A path with a NUL (as a fixed buffer would end it) keeps what comes before.
    const qsizetype nul = folder.indexOf(QChar(0));
    const QString path = nul >= 0 ? folder.left(nul) : folder;
    if (path.isEmpty()) {
        m_ui.showError(Status::failure(ErrInvalidCall, tr("所选的文件夹没有路径")), errorTitle);
        return;
    }
    box->setText(path);
}

void frmExport::readEntries()
{
    ExportEntries &e = m_model.entries();
    for (int i = 0; i < 6; ++i)
        e.fileName[i] = m_txtFilename[i]->text();
    e.pdf.acrobatVersion = m_cboAcrobatVersion->currentIndex();
    e.pdf.jpegQuality = m_cboPDFJPGQuality->currentIndex();
    e.pdf.fontsNotToEmbed.clear();
    for (int i = 0; i < m_lstPDFFonts->count(); ++i) {
        if (m_lstPDFFonts->item(i)->isSelected())
            e.pdf.fontsNotToEmbed << m_lstPDFFonts->item(i)->text();
    }
    e.html.pagesFolder = m_txtHTMLFolder->text();
    e.html.imagesFolder = m_txtAuxFolder->text();
    e.html.characterSet = m_txtHTMLCharset->text();
    e.html.title = m_txtHTMLTitle->text();
    e.html.version = m_cboHTMLVersion->currentIndex();
    e.html.tocFormat = m_cboTOCFormat->currentIndex();
    e.html.createCss = ticked(m_chkCreateCSS);
    e.html.createFrameset = ticked(m_chkCreateFrameset);
    e.html.mhtArchive = ticked(m_chkMHTArchive);
    e.html.singlePage = ticked(m_chkSinglePage);
    e.excel.version = m_cboXLSVersion->currentIndex();
    e.excel.borderSpace = m_txtXLSBorderSpace->text();
    e.excel.minColumnWidth = m_txtXLSMinColWidth->text();
    e.excel.minRowHeight = m_txtXLSMinRowHeight->text();
    e.excel.autoRowHeight = ticked(m_chkXLS[0]);
    e.excel.doubleBoundaries = ticked(m_chkXLS[1]);
    e.excel.genPageBreaks = ticked(m_chkXLS[2]);
    e.excel.multiSheet = ticked(m_chkXLS[3]);
    e.excel.showMarginSpace = ticked(m_chkXLS[4]);
    e.excel.trimEmptySpace = ticked(m_chkXLS[5]);
    e.text.delimiter = m_txtTXTTextDelimiter->text();
    e.text.suppressEmptyLines = ticked(m_chkTXTSupressEmptyLines);
    e.text.unicode = ticked(m_chkTXTUnicode);
}

void frmExport::setBusy(bool busy)
{
    m_exporting = busy;
    m_cboExportFormat->setEnabled(!busy);
    m_optionArea->setEnabled(!busy);
    m_btnOK->setEnabled(!busy);
    m_progress->setVisible(busy);
    m_note->setVisible(!busy);
}

void frmExport::exportClicked()
{
    if (m_exporting)
        return;
    readEntries();
    if (!m_model.canExport())
        return;
    m_cancel = false;
    m_progress->setRange(0, 0);
    setBusy(true);
    // The export runs here; the window repaints and Cancel is read between pages.
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    ExportProgress progress;
    progress.cancel = &m_cancel;
    progress.onProgress = [this, &sinceEvents](int done, int total) {
        m_progress->setRange(0, std::max(total, 1));
        m_progress->setValue(done);
        if (sinceEvents.elapsed() >= 30) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            sinceEvents.restart();
        }
    };
    const Status status = m_model.exportPages(progress);
    setBusy(false);
    if (status.ok()) {
        accept();
        return;
    }
    if (status.number() == ErrExportCancelled && m_cancel) {
        m_note->setText(tr("输出已取消，没有写入文件。"));
        return;
    }
    m_ui.showError(status, tr("Error Exporting Document"));
}

void frmExport::reject()
{
    // Cancel (or Escape) during an export stops the export; the dialog stays.
    if (m_exporting) {
        m_cancel = true;
        return;
    }
    QDialog::reject();
}

} // namespace Orv
