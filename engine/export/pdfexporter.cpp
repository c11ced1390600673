#include "engine/export/pdfexporter.h"

#include "engine/core/units.h"
#include "engine/export/exportutil.h"
#include "engine/export/orderedwork.h"
#include "engine/export/pdfdocument.h"
#include "engine/export/pdfoutline.h"
#include "engine/pages/fontresolver.h"
#include "engine/pages/pagecollection.h"
#include "engine/pages/pagepainter.h"

#include <QBuffer>
#include <QImage>
#include <QUuid>

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryFile>

// qpdf's headers: use std::shared_ptr, not its old PointerHolder.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/Pipeline.hh>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <map>
#include <optional>
#include <stdexcept>

namespace Orv {

namespace {

// Letter, for pages without a size.
constexpr double DefaultPageWidth = 12240;
constexpr double DefaultPageHeight = 15840;
// PDF viewers refuse pages beyond 200 inches.
constexpr double MaxPageTwips = 200 * Units::TwipsPerInch;

QPageLayout layoutFor(const Page &page)
{
    double w = page.size.width();
    double h = page.size.height();
    if (!(w > 0 && h > 0)) {
        w = DefaultPageWidth;
        h = DefaultPageHeight;
    }
    w = qMin(w, MaxPageTwips);
    h = qMin(h, MaxPageTwips);
    const QPageSize size(QSizeF(w / Units::TwipsPerPoint, h / Units::TwipsPerPoint), QPageSize::Point, QString(),
                         QPageSize::ExactMatch);
    return QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

// Hands qpdf's output to a Qt device.
class DevicePipeline : public Pipeline
{
public:
    explicit DevicePipeline(QIODevice *device) : Pipeline("output", nullptr), m_device(device) {}
    // Writes "%PDF-<version>" over the header qpdf writes (same length).
    void setHeaderVersion(const std::string &version) { m_version = version; }
    void write(unsigned char const *data, size_t len) override
    {
        std::string patched;
        const char *bytes = reinterpret_cast<const char *>(data);
        constexpr size_t VersionAt = 5; // after "%PDF-"
        if (!m_version.empty() && m_written < VersionAt + m_version.size()) {
            patched.assign(bytes, len);
            for (size_t i = 0; i < m_version.size(); ++i) {
                const size_t at = VersionAt + i;
                if (at >= m_written && at < m_written + len)
                    patched[at - m_written] = m_version[i];
            }
            bytes = patched.data();
        }
        if (m_device->write(bytes, qint64(len)) != qint64(len))
            throw std::runtime_error(m_device->errorString().toStdString());
        m_written += len;
    }
    void finish() override {}

private:
    QIODevice *m_device;
    std::string m_version;
    size_t m_written = 0;
};

} // namespace

QList<ExportSetting> PdfExporter::settings() const
{
    const auto text = [](const char *name, const char *summary, const QVariant &def = QString()) {
        return ExportSetting{QString::fromLatin1(name), SettingType::Text, 0, 0, {}, {}, def, {}, QString::fromLatin1(summary)};
    };
    const auto flag = [](const char *name, const char *summary) {
        return ExportSetting{QString::fromLatin1(name), SettingType::Boolean, 0, 0, {}, {}, true, {}, QString::fromLatin1(summary)};
    };
    return {{QStringLiteral("Title"), SettingType::Text, 0, 0, {}, {}, {}, QStringLiteral("none"),
             QStringLiteral("document information: title")},
            text("Author", "document information: author"),
            text("Creator", "document information: creator", QStringLiteral("OrvReport")),
            text("Subject", "document information: subject"),
            text("Keywords", "document information: keywords"),
            {QStringLiteral("Resolution"), SettingType::Integer, 72, 9600, {}, {}, 1200, {},
             QStringLiteral("dots per inch of the drawing coordinates")},
            {QStringLiteral("AcrobatVersion"), SettingType::Integer, 0, 2, {}, {}, {}, QStringLiteral("PDF 1.4"),
             QStringLiteral("0 Acrobat 2.1 (PDF 1.1), 1 Acrobat 3.x (PDF 1.2), 2 Acrobat 4.x (PDF 1.3)")},
            {QStringLiteral("JPEGQuality"), SettingType::Integer, 1, 100, {}, {}, {}, QStringLiteral("Qt's quality"),
             QStringLiteral("JPEG pictures re-encoded at this quality")},
            text("FontsNotToEmbed", "font families left unembedded, each followed by \";\""),
            text("UserPassword", "needed to open the file"),
            text("OwnerPassword", "lifts the permissions"),
            flag("AllowPrint", "permission to print"),
            flag("AllowCopy", "permission to copy text and pictures"),
            flag("AllowModify", "permission to change the document"),
            flag("AllowAnnotate", "permission to add comments and fill forms"),
            flag("Bookmarks", "an outline from the pages' bookmarks"),
            {QStringLiteral("Writer"), SettingType::Choice, 0, 0, {}, PdfSettings::writerNames(), int(PdfSettings::OwnWriter),
             {}, QStringLiteral("OrvReport: our own writer; Qt: QPdfWriter through the page painter")}};
}

QStringList PdfSettings::fontsList() const
{
    QStringList names;
    for (const QString &name : fontsNotToEmbed.split(QLatin1Char(';'))) {
        if (!name.trimmed().isEmpty())
            names << name.trimmed();
    }
    return names;
}

Status PdfExporter::parseSettings(const QVariantMap &settings, PdfSettings *out) const
{
    Status status = checkSettingNames(settings);
    if (!status.ok())
        return status;
    PdfSettings s;
    SettingReader r(format(), this->settings(), settings);
    r.text(QStringLiteral("Title"), &s.title);
    r.text(QStringLiteral("Author"), &s.author);
    r.text(QStringLiteral("Creator"), &s.creator);
    r.text(QStringLiteral("Subject"), &s.subject);
    r.text(QStringLiteral("Keywords"), &s.keywords);
    r.integer(QStringLiteral("Resolution"), &s.resolution);
    r.integer(QStringLiteral("AcrobatVersion"), &s.acrobatVersion);
    r.integer(QStringLiteral("JPEGQuality"), &s.jpegQuality);
    r.text(QStringLiteral("FontsNotToEmbed"), &s.fontsNotToEmbed);
    r.text(QStringLiteral("UserPassword"), &s.userPassword);
    r.text(QStringLiteral("OwnerPassword"), &s.ownerPassword);
    r.boolean(QStringLiteral("AllowPrint"), &s.allowPrint);
    r.boolean(QStringLiteral("AllowCopy"), &s.allowCopy);
    r.boolean(QStringLiteral("AllowModify"), &s.allowModify);
    r.boolean(QStringLiteral("AllowAnnotate"), &s.allowAnnotate);
    r.boolean(QStringLiteral("Bookmarks"), &s.bookmarks);
    r.choice(QStringLiteral("Writer"), &s.writer);
    if (!r.ok())
        return r.status();
    *out = s;
    return {};
}

Status PdfExporter::writePdf(const PageCollection &pages, QIODevice *device, const PdfSettings &settings,
                             const ExportProgress &progress, std::vector<Bookmark> *bookmarks) const
{
    const int count = pages.Count();
    Status status;
    std::shared_ptr<const Page> page = pages.page(0, &status);
    if (!page)
        return status;
    QPdfWriter writer(device);
    writer.setResolution(settings.resolution);
    writer.setTitle(settings.title);
    writer.setCreator(settings.creator);
    writer.setPageLayout(layoutFor(*page));
    QPainter painter;
    if (!painter.begin(&writer))
        return failure(ErrPathAccess, QStringLiteral("Cannot start the PDF file"));
    const PagePainter pagePainter(&pages);
    progress.report(0, count);
    for (int i = 0; i < count; ++i) {
        if (progress.cancelled()) {
            painter.end();
            return failure(ErrExportCancelled, QStringLiteral("Export cancelled"));
        }
        if (i > 0) {
            page = pages.page(i, &status);
            if (!page) {
                painter.end();
                return status;
            }
            writer.setPageLayout(layoutFor(*page));
            writer.newPage();
        }
        pagePainter.paint(painter, *page);
        if (settings.bookmarks) {
            for (const Page::Bookmark &b : page->bookmarks)
                bookmarks->push_back(Bookmark{i, b.level, b.text, b.top, page->size.height() / Units::TwipsPerPoint});
        }
        progress.report(i + 1, count);
    }
    painter.end();
    return {};
}

namespace {

QString fontKey(const QString &name)
{
    QString key = name.toLower();
    key.remove(QRegularExpression(QStringLiteral("[\\s_-]")));
    return key;
}

// Removes the embedded font programs of the fonts named (by layout family
// or by the installed family it draws with); their subset tags go too.
void unembedFonts(QPDF &pdf, const QStringList &names)
{
    QStringList keys;
    for (const QString &name : names) {
        keys << fontKey(name);
        keys << fontKey(FontResolver::instance().familyFor(name));
    }
    std::map<std::string, std::string> renamed;
    for (QPDFObjectHandle obj : pdf.getAllObjects()) {
        if (!obj.isDictionary() || !obj.getKey("/Type").isNameAndEquals("/FontDescriptor") || !obj.getKey("/FontName").isName())
            continue;
        const std::string full = obj.getKey("/FontName").getName();
        std::string bare = full.substr(1);
        const size_t plus = bare.find('+');
        if (plus == 6)
            bare = bare.substr(plus + 1);
        const QString key = fontKey(QString::fromStdString(bare));
        if (!std::any_of(keys.cbegin(), keys.cend(), [&](const QString &k) { return !k.isEmpty() && key.startsWith(k); }))
            continue;
        obj.removeKey("/FontFile");
        obj.removeKey("/FontFile2");
        obj.removeKey("/FontFile3");
        obj.replaceKey("/FontName", QPDFObjectHandle::newName("/" + bare));
        renamed[full] = "/" + bare;
    }
    for (QPDFObjectHandle obj : pdf.getAllObjects()) {
        if (!obj.isDictionary() || !obj.getKey("/Type").isNameAndEquals("/Font") || !obj.getKey("/BaseFont").isName())
            continue;
        const auto it = renamed.find(obj.getKey("/BaseFont").getName());
        if (it != renamed.end())
            obj.replaceKey("/BaseFont", QPDFObjectHandle::newName(it->second));
    }
}

// Re-encodes the JPEG pictures Qt wrote at the given quality.
void reencodeJpegs(QPDF &pdf, int quality)
{
    for (QPDFObjectHandle obj : pdf.getAllObjects()) {
        if (!obj.isStream())
            continue;
        QPDFObjectHandle dict = obj.getDict();
        if (!dict.getKey("/Subtype").isNameAndEquals("/Image"))
            continue;
        QPDFObjectHandle filter = dict.getKey("/Filter");
        const bool dct = filter.isNameAndEquals("/DCTDecode")
                         || (filter.isArray() && filter.getArrayNItems() == 1 && filter.getArrayItem(0).isNameAndEquals("/DCTDecode"));
        if (!dct)
            continue;
        const std::shared_ptr<Buffer> raw = obj.getRawStreamData();
        const QImage image = QImage::fromData(raw->getBuffer(), int(raw->getSize()), "JPEG");
        if (image.isNull())
            continue;
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "JPEG", quality))
            continue;
        obj.replaceStreamData(std::string(jpeg.constData(), size_t(jpeg.size())), QPDFObjectHandle::newName("/DCTDecode"),
                              QPDFObjectHandle::newNull());
    }
}

// Sets /Count of an outline item: the number of items under it, all open.
int countItems(QPDFObjectHandle item)
{
    int count = 0;
    for (QPDFObjectHandle child = item.getKey("/First"); child.isDictionary(); child = child.getKey("/Next"))
        count += 1 + countItems(child);
    if (count > 0)
        item.replaceKey("/Count", QPDFObjectHandle::newInteger(count));
    return count;
}

void addOutline(QPDF &pdf, const std::vector<PdfExporter::Bookmark> &bookmarks)
{
    const std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
    QPDFObjectHandle root = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    root.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
    std::vector<QPDFObjectHandle> stack{root}; // stack[k]: the latest item at depth k, root at 0
    for (const PdfExporter::Bookmark &b : bookmarks) {
        if (b.page < 0 || size_t(b.page) >= pages.size())
            continue;
        const size_t depth = size_t(qBound(0, b.level, int(stack.size()) - 1));
        stack.resize(depth + 1);
        QPDFObjectHandle parent = stack.back();
        QPDFObjectHandle page = pages[size_t(b.page)].getObjectHandle();
        QPDFObjectHandle box = page.getKey("/MediaBox");
        const double height = box.isArray() && box.getArrayNItems() == 4 ? box.getArrayItem(3).getNumericValue() : 792;
        QPDFObjectHandle dest = QPDFObjectHandle::newArray();
        dest.appendItem(page);
        dest.appendItem(QPDFObjectHandle::newName("/XYZ"));
        dest.appendItem(QPDFObjectHandle::newInteger(0));
        dest.appendItem(QPDFObjectHandle::newReal(height - b.top / Units::TwipsPerPoint, 2));
        dest.appendItem(QPDFObjectHandle::newNull());
        QPDFObjectHandle item = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(b.text.toStdString()));
        item.replaceKey("/Parent", parent);
        item.replaceKey("/Dest", dest);
        QPDFObjectHandle last = parent.getKey("/Last");
        if (last.isDictionary()) {
            last.replaceKey("/Next", item);
            item.replaceKey("/Prev", last);
        } else {
            parent.replaceKey("/First", item);
        }
        parent.replaceKey("/Last", item);
        stack.push_back(item);
    }
    if (!root.getKey("/First").isDictionary())
        return;
    countItems(root);
    pdf.getRoot().replaceKey("/Outlines", root);
    pdf.getRoot().replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
}

} // namespace

Status PdfExporter::postProcess(const QString &input, QIODevice *output, const PdfSettings &settings,
                                const std::vector<Bookmark> &bookmarks) const
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processFile(QFile::encodeName(input).constData());
        QPDFObjectHandle trailer = pdf.getTrailer();
        QPDFObjectHandle info = trailer.getKey("/Info");
        if (!info.isDictionary()) {
            info = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
            trailer.replaceKey("/Info", info);
        }
        const auto put = [&info](const char *key, const QString &value) {
            if (!value.isEmpty())
                info.replaceKey(key, QPDFObjectHandle::newUnicodeString(value.toStdString()));
        };
        put("/Author", settings.author);
        put("/Subject", settings.subject);
        put("/Keywords", settings.keywords);
        if (!settings.fontsList().isEmpty())
            unembedFonts(pdf, settings.fontsList());
        // Our writer stored its pictures at the quality already.
        if (settings.jpegQuality > 0 && settings.writer == PdfSettings::QtWriter)
            reencodeJpegs(pdf, settings.jpegQuality);
        if (!bookmarks.empty())
            addOutline(pdf, bookmarks);

        DevicePipeline sink(output);
        QPDFWriter writer(pdf);
        writer.setOutputPipeline(&sink);
        if (settings.acrobatVersion >= 0) {
            const std::string version = settings.acrobatVersion == 0 ? "1.1" : settings.acrobatVersion == 1 ? "1.2" : "1.3";
            // qpdf drops encryption below PDF 1.3, though the 40-bit scheme
            // is PDF 1.1's: it writes 1.3 and the header says the version asked.
            writer.forcePDFVersion(settings.encrypted() ? "1.3" : version);
            if (settings.encrypted())
                sink.setHeaderVersion(version);
        }
        if (settings.encrypted()) {
            const std::string user = settings.userPassword.toStdString();
            // Without an owner password anyone could lift the permissions: a
            // random one keeps them.
            const std::string owner = settings.ownerPassword.isEmpty()
                                          ? QUuid::createUuid().toString(QUuid::Id128).toStdString()
                                          : settings.ownerPassword.toStdString();
            if (settings.acrobatVersion >= 0) {
                // The only scheme PDF 1.1 to 1.3 readers know: 40-bit RC4.
                writer.setR2EncryptionParametersInsecure(user.c_str(), owner.c_str(), settings.allowPrint,
                                                         settings.allowModify, settings.allowCopy, settings.allowAnnotate);
            } else {
                writer.setR6EncryptionParameters(user.c_str(), owner.c_str(), true, settings.allowCopy, settings.allowModify,
                                                 settings.allowAnnotate, settings.allowAnnotate, settings.allowModify,
                                                 settings.allowPrint ? qpdf_r3p_full : qpdf_r3p_none, true);
            }
        }
        writer.write();
    } catch (const std::exception &e) {
        return failure(ErrPathAccess, QStringLiteral("Cannot finish the PDF file: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    return {};
}

Status PdfExporter::write(const PageCollection &pages, const QString &path, const QVariantMap &settings,
                          const ExportProgress &progress)
{
    PdfSettings options;
    Status status = checkStart(parseSettings(settings, &options), pages);
    if (!status.ok())
        return status;
    if (path.isEmpty())
        return failure(ErrInvalidCall, QStringLiteral("No file name given"));

    const int count = pages.Count();
    if (options.writer == PdfSettings::OwnWriter) {
        PdfStream stream;
        stream.setTotal(count);
        status = stream.open(path, settings, &pages, progress);
        if (!status.ok())
            return status;
        for (int i = 0; i < count; ++i) {
            std::shared_ptr<const Page> page = pages.page(i, &status);
            if (!page)
                return status;
            status = stream.addPage(std::move(page));
            if (!status.ok())
                return status;
        }
        return stream.finish();
    }

    StagedFiles staged(format());
    QString draftName;
    std::vector<Bookmark> bookmarks;
    {
        QFile draft;
        status = staged.open(path, &draft);
        if (!status.ok())
            return status;
        draftName = draft.fileName();
        status = writePdf(pages, &draft, options, progress, &bookmarks);
        if (!status.ok())
            return status;
        status = staged.checkWritten(draft, path);
        if (!status.ok())
            return status;
    }
    return finishFile(staged, draftName, path, options, std::move(bookmarks));
}

Status PdfExporter::finishFile(StagedFiles &staged, const QString &draftName, const QString &path,
                               const PdfSettings &options, std::vector<Bookmark> bookmarks) const
{
    Status status;
    if (!options.needsPostProcessing() && !bookmarks.empty()) {        // Only an outline to add: appended to Qt's file as an update, which
        // neither reads nor rewrites the pages. A file not laid out as
        // expected goes through qpdf below.
        QFile draft(draftName);
        if (!draft.open(QIODevice::ReadWrite))
            return failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2").arg(displayName(path), draft.errorString()));
        PdfOutline::Items items;
        for (const Bookmark &b : bookmarks)
            items.append({b.page, b.level, b.text, b.pageHeight - b.top / Units::TwipsPerPoint});
        QString error;
        const PdfOutline::Result added = PdfOutline::append(draft, items, &error);
        if (added == PdfOutline::Result::WriteFailed)
            return failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2").arg(displayName(path), error));
        if (added == PdfOutline::Result::Done) {
            status = staged.checkWritten(draft, path);
            if (!status.ok())
                return status;
            bookmarks.clear();
        }
    }
    if (options.needsPostProcessing() || !bookmarks.empty()) {
        // qpdf rewrites Qt's file beside it, then the result takes its place.
        const QString finished = draftName + QStringLiteral(".q");
        QFile file(finished);
        if (!file.open(QIODevice::WriteOnly))
            return failure(ErrPathAccess, QStringLiteral("Cannot write %1: %2").arg(displayName(path), file.errorString()));
        status = postProcess(draftName, &file, options, bookmarks);
        if (status.ok())
            status = staged.checkWritten(file, path);
        if (status.ok() && std::rename(QFile::encodeName(finished).constData(), QFile::encodeName(draftName).constData()) != 0)
            status = failure(ErrPathAccess, QStringLiteral("Cannot write %1").arg(displayName(path)));
        if (!status.ok()) {
            QFile::remove(finished);
            return status;
        }
    }
    return staged.commit();
}

struct PdfStream::Private
{
    struct Ahead
    {
        int index = 0;
        std::shared_ptr<Pdf::PagePlan> plan;
        std::shared_ptr<const Page> page;
    };

    PdfExporter exporter;
    PdfSettings options;
    ExportProgress progress;
    QString path;
    StagedFiles staged{QStringLiteral("PDF")};
    QFile draft;
    std::unique_ptr<Pdf::Document> document;
    // Pages are laid out, drawn and compressed on every core, a few pages
    // ahead of the one being written.
    std::optional<OrderedWork<Ahead>> ahead;
    int depth = 2;
    int added = 0;
    int written = 0;
    int total = 0;
    PdfOutline::Items outline;
    Status failed;
    QMetaObject::Connection onAdded;
    std::function<void(const Status &)> onFailure;
};

PdfStream::PdfStream() : d(std::make_unique<Private>()) {}

PdfStream::~PdfStream()
{
    QObject::disconnect(d->onAdded);
    // The workers may still use the document.
    d->ahead.reset();
}

bool PdfStream::streams(const QVariantMap &settings)
{
    PdfSettings options;
    return PdfExporter().parseSettings(settings, &options).ok() && options.writer == PdfSettings::OwnWriter;
}

Status PdfStream::open(const QString &path, const QVariantMap &settings, const PageCollection *images,
                       const ExportProgress &progress)
{
    Status status = d->exporter.parseSettings(settings, &d->options);
    if (!status.ok())
        return status;
    if (d->options.writer != PdfSettings::OwnWriter)
        return d->exporter.failure(ErrInvalidCall, QStringLiteral("Only OrvReport's own writer writes pages as they come"));
    if (path.isEmpty())
        return d->exporter.failure(ErrInvalidCall, QStringLiteral("No file name given"));
    status = d->staged.open(path, &d->draft);
    if (!status.ok())
        return status;
    d->path = path;
    d->progress = progress;
    d->document = std::make_unique<Pdf::Document>(&d->draft, images, d->options.resolution, d->options.jpegQuality);
    d->ahead.emplace(0);
    d->depth = 2 * d->ahead->threads();
    d->progress.report(0, d->total);
    return {};
}

void PdfStream::setTotal(int pages)
{
    d->total = pages;
}

int PdfStream::pagesAdded() const
{
    return d->added;
}

Status PdfStream::stopped() const
{
    if (!d->failed.ok())
        return d->failed;
    if (!d->document)
        return d->exporter.failure(ErrInvalidCall, QStringLiteral("The PDF file is not open"));
    if (d->progress.cancelled())
        return d->failed = d->exporter.failure(ErrExportCancelled, QStringLiteral("Export cancelled"));
    if (!d->document->ok())
        return d->failed = d->exporter.failure(ErrPathAccess,
                                               QStringLiteral("Cannot write the PDF file: %1").arg(d->document->error()));
    return {};
}

void PdfStream::writeNext()
{
    const Private::Ahead next = d->ahead->takeNext();
    d->document->addPage(*next.plan);
    if (d->options.bookmarks) {
        const double height = (next.page->size.height() > 0 ? next.page->size.height() : 15840) / Units::TwipsPerPoint;
        for (const Page::Bookmark &b : next.page->bookmarks)
            d->outline.append({next.index, b.level, b.text, height - b.top / Units::TwipsPerPoint});
    }
    d->progress.report(++d->written, d->total);
}

Status PdfStream::addPage(std::shared_ptr<const Page> page, std::vector<LateText> late)
{
    if (Status s = stopped(); !s.ok())
        return s;
    if (!page)
        return d->exporter.failure(ErrInvalidCall, QStringLiteral("No page given"));
    Pdf::Document *document = d->document.get();
    const int index = d->added++;
    std::shared_ptr<Pdf::PagePlan> plan = document->plan(page, late);
    d->ahead->submit([document, index, page = std::move(page), plan = std::move(plan)]() mutable {
        document->render(*plan);
        return Private::Ahead{index, std::move(plan), std::move(page)};
    });
    while (d->ahead->pending() >= d->depth && d->document->ok())
        writeNext();
    return stopped();
}

void PdfStream::textsKnown(int index, const std::vector<LateText> &texts)
{
    if (!stopped().ok())
        return;
    while (d->written <= index && d->ahead->pending() > 0)
        writeNext();
    d->document->completePage(index, texts);
    if (const Status s = stopped(); !s.ok() && d->onFailure)
        d->onFailure(s);
}

void PdfStream::follow(PageCollection *pages, std::function<std::vector<LateText>(int)> lateTexts,
                       std::function<void(const Status &)> failed)
{
    d->onFailure = std::move(failed);
    d->onAdded = QObject::connect(pages, &PageCollection::pageAdded, [this, pages, lateTexts](int index) {
        if (!d->failed.ok() || index != d->added)
            return;
        Status status;
        std::shared_ptr<const Page> page = pages->page(index, &status);
        if (page)
            status = addPage(std::move(page), lateTexts ? lateTexts(index) : std::vector<LateText>());
        else
            d->failed = status;
        if (!status.ok() && d->onFailure)
            d->onFailure(status);
    });
}

Status PdfStream::finish()
{
    QObject::disconnect(d->onAdded);
    if (Status s = stopped(); !s.ok())
        return s;
    if (d->added == 0)
        return d->failed = d->exporter.failure(ErrInvalidCall, QStringLiteral("There are no pages to export"));
    while (d->ahead->pending() > 0) {
        if (Status s = stopped(); !s.ok())
            return s;
        writeNext();
    }
    // The workers and the texts they laid out go before the fonts are
    // subset, and the memory they held goes back to the system.
    d->ahead.reset();
    malloc_trim(0);
    const PdfSettings &o = d->options;
    d->document->finish({o.title, o.author, o.creator, o.subject, o.keywords}, d->outline);
    if (Status s = stopped(); !s.ok())
        return s;
    d->document.reset();
    Status status = d->staged.checkWritten(d->draft, d->path);
    if (!status.ok())
        return d->failed = status;
    status = d->exporter.finishFile(d->staged, d->draft.fileName(), d->path, o, {});
    if (!status.ok())
        return d->failed = status;
    d->failed = d->exporter.failure(ErrInvalidCall, QStringLiteral("The PDF file is finished"));
    return {};
}

} // namespace Orv
