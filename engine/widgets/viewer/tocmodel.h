#pragma once
// The viewer's table of contents: the bookmarks the run put on the pages
// (group headers, nested by group level), or, in a document without any,
// one entry per page. Pages are read for their bookmarks a slice at a
// time (scan), so a long document never stalls the window.
#include <QAbstractItemModel>
#include <QPointer>

#include <memory>
#include <vector>

namespace Orv {

class PageCollection;

class TocModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    explicit TocModel(QObject *parent = nullptr);
    ~TocModel() override;

    // Starts afresh on a collection (or none).
    void setPages(const PageCollection *pages);
    // The collection has this many pages now (they only ever grow; a
    // cleared collection comes through setPages).
    void setPageCount(int count);
    // Reads bookmarks from pages not read yet, for up to budgetMs; true
    // when every page has been read.
    bool scan(int budgetMs);
    bool scanned() const;
    bool hasBookmarks() const { return !m_roots.empty(); }

    // Where an entry leads: page index and the height on it (twips).
    int pageOf(const QModelIndex &index) const;
    double topOf(const QModelIndex &index) const;
    // The entry that covers a page: the last one starting on or before it.
    QModelIndex entryFor(int page) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    struct Node
    {
        QString text;
        int page = 0;
        double top = 0;
        int level = 0;
        int row = 0;
        Node *parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;
    };
    QModelIndex indexOf(const Node *node) const;
    void add(int page, int level, const QString &text, double top);

    QPointer<const PageCollection> m_pages;
    int m_count = 0;   // pages known
    int m_scanned = 0; // pages read for bookmarks
    std::vector<std::unique_ptr<Node>> m_roots;
    std::vector<Node *> m_open;  // the last entry at each depth
    std::vector<Node *> m_order; // every entry in document order
};

} // namespace Orv
