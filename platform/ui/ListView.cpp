#include "ListView.h"

#include "FreeMemory.h"
#include "ListViewTexts.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

namespace {

// From this many rows, emptying the list also renews the view's header of the
// rows, which otherwise keeps room for as many.
constexpr int kManyRows = 4096;

} // namespace

// The rows and column captions behind the view, and the sort that keeps them in
// order. The texts are kept compactly (ListViewTexts); a QString is made only
// for a cell that is read or painted.
class ListViewRows : public QAbstractTableModel {
public:
    using Row = ListViewTexts::Row;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }

    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(captions_.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) {
            return {};
        }
        return Text(index.row(), index.column());
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
            section >= columnCount()) {
            return {};
        }
        return captions_[section];
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren
                               : Qt::NoItemFlags;
    }

    void AddColumn(const QString& caption) {
        const int at = columnCount();
        beginInsertColumns({}, at, at);
        captions_.push_back(caption);
        endInsertColumns();
    }

    void ClearColumns() {
        if (captions_.empty()) {
            return;
        }
        beginRemoveColumns({}, 0, columnCount() - 1);
        captions_.clear();
        endRemoveColumns();
        sorted_ = false;
    }

    const QString& Caption(int column) const { return captions_[column]; }

    void AddRow(const QStringList& texts, int data) {
        const int at = rowCount();
        beginInsertRows({}, at, at);
        rows_.push_back(texts_.Write(texts, data));
        endInsertRows();
        outOfOrder_ = outOfOrder_ || sorted_;
    }

    void AddRows(std::vector<QStringList>&& texts) {
        if (texts.empty()) {
            return;
        }
        const int at = rowCount();
        beginInsertRows({}, at, at + static_cast<int>(texts.size()) - 1);
        for (QStringList& t : texts) {
            rows_.push_back(texts_.Write(t, 0));
            t = QStringList();
        }
        endInsertRows();
        std::vector<QStringList>().swap(texts);
        outOfOrder_ = outOfOrder_ || sorted_;
    }

    void RemoveRow(int row) {
        beginRemoveRows({}, row, row);
        texts_.Release(rows_[row]);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
        CompactIfWorth();
    }

    // Gives the bytes released.
    std::size_t Clear() {
        const std::size_t bytes = StorageBytes();
        beginResetModel();
        std::vector<Row>().swap(rows_);
        texts_.Clear();
        endResetModel();
        outOfOrder_ = false;
        return bytes;
    }

    Row& At(int row) { return rows_[row]; }
    const Row& At(int row) const { return rows_[row]; }

    QString Text(int row, int column) const { return texts_.Cell(rows_[row], column).ToString(); }

    void SetText(int row, int column, const QString& text) {
        QStringList texts = texts_.Texts(rows_[row]);
        while (texts.size() <= column) {
            texts.append(QString());
        }
        texts[column] = text;
        texts_.Release(rows_[row]);
        rows_[row] = texts_.Write(texts, rows_[row].data);
        CompactIfWorth();
        const QModelIndex cell = index(row, column);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
        outOfOrder_ = outOfOrder_ || (sorted_ && column == sortKey_);
    }

    std::size_t StorageBytes() const { return rows_.capacity() * sizeof(Row) + texts_.Bytes(); }

    bool Sorted() const { return sorted_; }
    int SortKey() const { return sortKey_; }
    Qt::SortOrder Order() const { return order_; }

    void Sort(int column, Qt::SortOrder order) {
        sorted_ = true;
        sortKey_ = column;
        order_ = order;
        outOfOrder_ = true;
        EnsureOrder();
    }

    void SetUnsorted() {
        EnsureOrder();
        sorted_ = false;
    }

    // Puts the rows of a sorted list in order when something moved them out.
    void EnsureOrder() {
        if (!outOfOrder_) {
            return;
        }
        outOfOrder_ = false;
        std::vector<ListViewTexts::Text> keys;
        keys.reserve(rows_.size());
        for (const Row& row : rows_) {
            keys.push_back(texts_.Cell(row, sortKey_));
        }
        std::vector<int> order(rows_.size());
        std::iota(order.begin(), order.end(), 0);
        const auto less = [&](int a, int b) { return ListViewTexts::Compare(keys[a], keys[b]) < 0; };
        if (order_ == Qt::AscendingOrder) {
            std::stable_sort(order.begin(), order.end(), less);
        } else {
            std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return less(b, a); });
        }

        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<Row> sorted;
        sorted.reserve(rows_.size());
        std::vector<int> newRow(rows_.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            newRow[order[i]] = static_cast<int>(i);
            sorted.push_back(rows_[order[i]]);
        }
        rows_ = std::move(sorted);
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& old : from) {
            to.append(index(newRow[old.row()], old.column()));
        }
        changePersistentIndexList(from, to);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

private:
    // Takes back the room of changed and removed rows once it outgrows the
    // texts in use.
    void CompactIfWorth() {
        if (!texts_.WantsCompacting()) {
            return;
        }
        const std::size_t before = texts_.Bytes();
        texts_.Compact(rows_);
        ReleasedLarge(before - std::min(before, texts_.Bytes()));
    }

    std::vector<QString> captions_;
    std::vector<Row> rows_;
    ListViewTexts texts_;
    bool sorted_ = false;
    bool outOfOrder_ = false;
    int sortKey_ = 0;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};

ListView::ListView(QWidget* parent)
    : QTableView(parent), rows_(std::make_unique<ListViewRows>()) {
    setModel(rows_.get());
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    NewRowHeader();
    QHeaderView* columns = horizontalHeader();
    columns->setStretchLastSection(false);
    columns->setSectionsMovable(false);
    columns->setSectionsClickable(true);
    columns->setHighlightSections(false);
    columns->setSortIndicatorShown(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(columns, &QHeaderView::sectionClicked, this, [this](int column) {
        if (onColumnClick) {
            onColumnClick(column);
        }
    });
}

void ListView::NewRowHeader() {
    auto* rows = new QHeaderView(Qt::Vertical, this);
    setVerticalHeader(rows);
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    SetRowHeight();
}

void ListView::SetRowHeight() {
    QHeaderView* rows = verticalHeader();
    const int height = fontMetrics().height() + 4;
    rows->setMinimumSectionSize(std::min(height, rows->minimumSectionSize()));
    rows->setDefaultSectionSize(height);
}

void ListView::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        SetRowHeight();
    }
}

ListView::~ListView() {
    // The view lets go of the rows before they are destroyed.
    setModel(nullptr);
}

void ListView::CheckRow(int row) const {
    if (row < 0 || row >= rows_->rowCount()) {
        throw std::out_of_range("list view row " + std::to_string(row) + " of " +
                                std::to_string(rows_->rowCount()));
    }
}

void ListView::CheckColumn(int column) const {
    if (column < 0 || column >= rows_->columnCount()) {
        throw std::out_of_range("list view column " + std::to_string(column) + " of " +
                                std::to_string(rows_->columnCount()));
    }
}

void ListView::AddColumn(const QString& caption, int width) {
    rows_->AddColumn(caption);
    header()->resizeSection(rows_->columnCount() - 1, width);
}

void ListView::ClearColumns() {
    rows_->ClearColumns();
    ShowSortIndicator();
}

int ListView::ColumnCount() const {
    return rows_->columnCount();
}

QString ListView::ColumnCaption(int column) const {
    CheckColumn(column);
    return rows_->Caption(column);
}

int ListView::ColumnWidth(int column) const {
    CheckColumn(column);
    return header()->sectionSize(column);
}

void ListView::SetColumnWidth(int column, int width) {
    CheckColumn(column);
    header()->resizeSection(column, width);
}

void ListView::AddRow(const QStringList& texts, int rowData) {
    rows_->AddRow(texts, rowData);
}

void ListView::AddRows(std::vector<QStringList>&& texts) {
    rows_->AddRows(std::move(texts));
}

void ListView::RemoveRow(int row) {
    rows_->EnsureOrder();
    CheckRow(row);
    rows_->RemoveRow(row);
}

void ListView::Clear() {
    const bool many = rows_->rowCount() >= kManyRows;
    const std::size_t released = rows_->Clear();
    if (many) {
        NewRowHeader();
    }
    ReleasedLarge(released);
}

int ListView::RowCount() const {
    return rows_->rowCount();
}

std::size_t ListView::StorageBytes() const {
    return rows_->StorageBytes();
}

QString ListView::Text(int row, int column) const {
    rows_->EnsureOrder();
    CheckRow(row);
    return rows_->Text(row, column);
}

void ListView::SetText(int row, int column, const QString& text) {
    rows_->EnsureOrder();
    CheckRow(row);
    if (column < 0) {
        throw std::out_of_range("list view column " + std::to_string(column));
    }
    rows_->SetText(row, column, text);
}

int ListView::RowData(int row) const {
    rows_->EnsureOrder();
    CheckRow(row);
    return rows_->At(row).data;
}

void ListView::SetRowData(int row, int data) {
    rows_->EnsureOrder();
    CheckRow(row);
    rows_->At(row).data = data;
}

int ListView::SelectedRow() const {
    rows_->EnsureOrder();
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void ListView::SetSelectedRow(int row) {
    rows_->EnsureOrder();
    if (row == -1) {
        selectionModel()->clear();
        return;
    }
    CheckRow(row);
    selectionModel()->setCurrentIndex(rows_->index(row, 0), QItemSelectionModel::ClearAndSelect |
                                                                QItemSelectionModel::Rows);
}

void ListView::EnsureVisible(int row) {
    rows_->EnsureOrder();
    CheckRow(row);
    scrollTo(rows_->index(row, 0));
}

bool ListView::Sorted() const {
    return rows_->Sorted();
}

int ListView::SortKey() const {
    return rows_->SortKey();
}

Qt::SortOrder ListView::SortOrder() const {
    return rows_->Order();
}

void ListView::Sort(int column, Qt::SortOrder order) {
    CheckColumn(column);
    rows_->Sort(column, order);
    ShowSortIndicator();
}

void ListView::SetUnsorted() {
    rows_->SetUnsorted();
    ShowSortIndicator();
}

void ListView::ToggleSort(int column) {
    const bool reverse = Sorted() && SortKey() == column && SortOrder() == Qt::AscendingOrder;
    Sort(column, reverse ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void ListView::ClickRow(int row) {
    CheckRow(row);
    if (!isEnabled()) {
        return;
    }
    SetSelectedRow(row);
    RaiseClick();
}

void ListView::ClickColumn(int column) {
    CheckColumn(column);
    if (isEnabled() && onColumnClick) {
        onColumnClick(column);
    }
}

void ListView::ShowSortIndicator() {
    header()->setSortIndicatorShown(rows_->Sorted());
    if (rows_->Sorted()) {
        header()->setSortIndicator(rows_->SortKey(), rows_->Order());
    }
}

void ListView::RaiseClick() {
    if (onClick) {
        onClick();
    }
}

void ListView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !indexAt(event->position().toPoint()).isValid()) {
        setFocus(Qt::MouseFocusReason);
        event->accept();
        return;
    }
    pressedOnRow_ = true;
    QTableView::mousePressEvent(event);
}

void ListView::mouseReleaseEvent(QMouseEvent* event) {
    QTableView::mouseReleaseEvent(event);
    if (pressedOnRow_ && event->button() == Qt::LeftButton) {
        pressedOnRow_ = false;
        RaiseClick();
    }
}

void ListView::keyPressEvent(QKeyEvent* event) {
    const int before = SelectedRow();
    QTableView::keyPressEvent(event);
    if (SelectedRow() != before) {
        RaiseClick();
    }
}

void ListView::paintEvent(QPaintEvent* event) {
    rows_->EnsureOrder();
    QTableView::paintEvent(event);
}

QModelIndex ListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex current = currentIndex();
    const int column = current.isValid() ? current.column() : 0;
    switch (action) {
    case MoveHome:
        return rows_->rowCount() > 0 ? rows_->index(0, column) : QModelIndex();
    case MoveEnd:
        return rows_->rowCount() > 0 ? rows_->index(rows_->rowCount() - 1, column) : QModelIndex();
    case MoveLeft:
    case MoveRight:
    case MoveNext:
    case MovePrevious:
        return current;
    default:
        return QTableView::moveCursor(action, modifiers);
    }
}

} // namespace platform
