#pragma once

#include <QListView>
#include <QPersistentModelIndex>

namespace archive {

// A one-column list whose lines all have the same height, for lists of any length. QListView
// lays out every line whenever the model changes (it keeps a position per line), so its cost
// grows with the list; this view lays out nothing: the scroll bar counts lines, and which line
// stands where follows from the first line shown. It looks and answers mouse and keys as a
// QListView with uniform item sizes scrolled per item.
class RecordListView : public QListView {
    Q_OBJECT
public:
    explicit RecordListView(int lineHeight, QWidget* parent = nullptr);

    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void doItemsLayout() override;
    void setModel(QAbstractItemModel* model) override;
    void reset() override;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void rowsInserted(const QModelIndex& parent, int start, int end) override;
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    QSize viewportSizeHint() const override;

private:
    int lineCount() const;
    int firstShown() const;
    // Lines wholly inside the viewport, at least one.
    int linesPerPage() const;
    // The viewport rectangle of lines first..last, clipped to a little beyond the viewport so
    // that far lines give no overflowing coordinates.
    QRect linesRect(int first, int last) const;

    int m_lineHeight;
    QPersistentModelIndex m_hovered;
};

} // namespace archive
