#include "archive/record_list_view.h"

#include <QHoverEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace archive {

namespace {

// Rounds towards minus infinity, so that points above the viewport fall on lines above it.
qint64 floorDiv(qint64 a, qint64 b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

} // namespace

RecordListView::RecordListView(int lineHeight, QWidget* parent)
    : QListView(parent), m_lineHeight(std::max(1, lineHeight)) {
    setUniformItemSizes(true);
    setVerticalScrollMode(ScrollPerItem);
}

int RecordListView::lineCount() const {
    return model() ? model()->rowCount(rootIndex()) : 0;
}

int RecordListView::firstShown() const {
    return verticalScrollBar()->value();
}

int RecordListView::linesPerPage() const {
    return std::max(1, viewport()->height() / m_lineHeight);
}

QRect RecordListView::linesRect(int first, int last) const {
    const qint64 height = viewport()->height();
    const qint64 top = (qint64(first) - firstShown()) * m_lineHeight;
    const qint64 bottom = (qint64(last) - firstShown() + 1) * m_lineHeight;
    const qint64 limitTop = std::clamp(top, -2 * qint64(m_lineHeight), height + m_lineHeight);
    const qint64 limitBottom =
        std::clamp(bottom, -qint64(m_lineHeight), height + 2 * qint64(m_lineHeight));
    return QRect(0, int(limitTop), viewport()->width(), int(limitBottom - limitTop));
}

QRect RecordListView::visualRect(const QModelIndex& index) const {
    if (!index.isValid() || index.parent() != rootIndex() || index.column() != modelColumn())
        return {};
    return linesRect(index.row(), index.row());
}

QModelIndex RecordListView::indexAt(const QPoint& point) const {
    if (!model() || point.y() < 0 || point.x() < 0 || point.x() >= viewport()->width())
        return {};
    const qint64 row = firstShown() + qint64(point.y() / m_lineHeight);
    if (row >= lineCount())
        return {};
    return model()->index(int(row), modelColumn(), rootIndex());
}

void RecordListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid() || index.parent() != rootIndex())
        return;
    updateGeometries(); // the range may still be the one of the model before a reset
    const qint64 row = index.row();
    const qint64 page = linesPerPage();
    qint64 top = firstShown();
    switch (hint) {
    case EnsureVisible:
        if (row < top)
            top = row;
        else if (row >= top + page)
            top = row - page + 1;
        break;
    case PositionAtTop:
        top = row;
        break;
    case PositionAtBottom:
        top = row - page + 1;
        break;
    case PositionAtCenter:
        top = row - page / 2;
        break;
    }
    verticalScrollBar()->setValue(int(std::max<qint64>(0, top)));
}

void RecordListView::doItemsLayout() {
    // Nothing to lay out: only the scroll bar follows the number of lines.
    QAbstractItemView::doItemsLayout();
}

QModelIndex RecordListView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const int rows = lineCount();
    if (rows == 0)
        return {};
    const QModelIndex current = currentIndex();
    if (!current.isValid())
        return model()->index(0, modelColumn(), rootIndex());
    // A page step moves to the line a viewport's height away, as QListView does.
    const qint64 step = std::max(1, linesPerPage() - 1);
    qint64 row = current.row();
    switch (action) {
    case MoveUp:
    case MovePrevious:
        row -= 1;
        break;
    case MoveDown:
    case MoveNext:
        row += 1;
        break;
    case MovePageUp:
        row -= step;
        break;
    case MovePageDown:
        row += step;
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = rows - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    return model()->index(int(std::clamp<qint64>(row, 0, rows - 1)), modelColumn(), rootIndex());
}

int RecordListView::horizontalOffset() const {
    return 0;
}

int RecordListView::verticalOffset() const {
    // Scrolling counts lines; item coordinates are those of the viewport.
    return 0;
}

bool RecordListView::isIndexHidden(const QModelIndex&) const {
    return false;
}

void RecordListView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    const QRect area = rect.normalized();
    QItemSelection selection;
    const int rows = lineCount();
    if (rows > 0 && area.right() >= 0 && area.left() < viewport()->width()) {
        const qint64 first = std::max<qint64>(0, firstShown() + floorDiv(area.top(), m_lineHeight));
        const qint64 last =
            std::min<qint64>(rows - 1, firstShown() + floorDiv(area.bottom(), m_lineHeight));
        if (first <= last)
            selection.select(model()->index(int(first), modelColumn(), rootIndex()),
                             model()->index(int(last), modelColumn(), rootIndex()));
    }
    selectionModel()->select(selection, command);
}

QRegion RecordListView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        if (range.isValid() && range.parent() == rootIndex() && range.left() <= modelColumn() &&
            range.right() >= modelColumn())
            region += linesRect(range.top(), range.bottom());
    }
    return region;
}

void RecordListView::updateGeometries() {
    const int page = linesPerPage();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setRange(0, std::max(0, lineCount() - page));
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void RecordListView::scrollContentsBy(int, int) {
    viewport()->update();
}

// The scroll bar follows the number of lines at once, not at the next layout as QListView's
// does: laying out costs nothing here, and a scroll position set right after a change holds.
void RecordListView::setModel(QAbstractItemModel* model) {
    QListView::setModel(model);
    if (model)
        connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { updateGeometries(); });
    updateGeometries();
}

void RecordListView::reset() {
    QListView::reset();
    updateGeometries();
}

void RecordListView::rowsInserted(const QModelIndex& parent, int start, int end) {
    QListView::rowsInserted(parent, start, end);
    updateGeometries();
}

void RecordListView::paintEvent(QPaintEvent* event) {
    const int rows = lineCount();
    if (rows == 0 || !itemDelegate())
        return;
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    QPainter painter(viewport());
    const QRect area = event->rect();
    const qint64 first = std::max<qint64>(0, firstShown() + floorDiv(area.top(), m_lineHeight));
    const qint64 last =
        std::min<qint64>(rows - 1, firstShown() + floorDiv(area.bottom(), m_lineHeight));

    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QStyle::State baseState = option.state;
    const bool enabled = baseState.testFlag(QStyle::State_Enabled);
    for (qint64 row = first; row <= last; ++row) {
        const QModelIndex index = model()->index(int(row), modelColumn(), rootIndex());
        option.rect = linesRect(int(row), int(row));
        option.state = baseState;
        if (selectionModel() && selectionModel()->isSelected(index))
            option.state |= QStyle::State_Selected;
        if (enabled) {
            const bool itemEnabled = model()->flags(index).testFlag(Qt::ItemIsEnabled);
            option.state.setFlag(QStyle::State_Enabled, itemEnabled);
            option.palette.setCurrentColorGroup(itemEnabled ? QPalette::Normal
                                                            : QPalette::Disabled);
        }
        if (focus && index == current) {
            option.state |= QStyle::State_HasFocus;
            if (state() == EditingState)
                option.state |= QStyle::State_Editing;
        }
        option.state.setFlag(QStyle::State_MouseOver, index == m_hovered);
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

bool RecordListView::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        m_hovered = indexAt(static_cast<QHoverEvent*>(event)->position().toPoint());
        break;
    case QEvent::HoverLeave:
    case QEvent::Leave:
        m_hovered = QPersistentModelIndex();
        break;
    default:
        break;
    }
    return QListView::viewportEvent(event);
}

QSize RecordListView::viewportSizeHint() const {
    return QAbstractItemView::viewportSizeHint();
}

} // namespace archive
