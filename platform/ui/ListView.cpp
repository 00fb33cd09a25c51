#include "ListView.h"

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

// The rows and column captions behind the view, and the sort that keeps them in
// order.
class ListViewRows : public QAbstractTableModel {
public:
    struct Row {
        QStringList texts;
        int data = 0;
    };

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
        return Cell(rows_[index.row()], index.column());
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
        rows_.push_back({texts, data});
        endInsertRows();
        outOfOrder_ = outOfOrder_ || sorted_;
    }

    void AddRows(std::vector<QStringList>&& texts) {
        if (texts.empty()) {
            return;
        }
        const int at = rowCount();
        beginInsertRows({}, at, at + static_cast<int>(texts.size()) - 1);
        rows_.reserve(rows_.size() + texts.size());
        for (QStringList& t : texts) {
            rows_.push_back({std::move(t), 0});
        }
        endInsertRows();
        texts.clear();
        outOfOrder_ = outOfOrder_ || sorted_;
    }

    void RemoveRow(int row) {
        beginRemoveRows({}, row, row);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
    }

    void Clear() {
        beginResetModel();
        rows_.clear();
        endResetModel();
        outOfOrder_ = false;
    }

    Row& At(int row) { return rows_[row]; }
    const Row& At(int row) const { return rows_[row]; }

    void SetText(int row, int column, const QString& text) {
        QStringList& texts = rows_[row].texts;
        while (texts.size() <= column) {
            texts.append(QString());
        }
        texts[column] = text;
        const QModelIndex cell = index(row, column);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
        outOfOrder_ = outOfOrder_ || (sorted_ && column == sortKey_);
    }

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
        const int key = sortKey_;
        std::vector<int> order(rows_.size());
        std::iota(order.begin(), order.end(), 0);
        const auto less = [&](int a, int b) {
            return Cell(rows_[a], key).compare(Cell(rows_[b], key), Qt::CaseSensitive) < 0;
        };
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
            sorted.push_back(std::move(rows_[order[i]]));
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

    static const QString& Cell(const Row& row, int column) {
        static const QString kEmpty;
        return column < row.texts.size() ? row.texts[column] : kEmpty;
    }

private:
    std::vector<QString> captions_;
    std::vector<Row> rows_;
    bool sorted_ = false;
    bool outOfOrder_ = false;
    int sortKey_ = 0;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};

ListView::ListView(QWidget* parent)
    : QTreeView(parent), rows_(std::make_unique<ListViewRows>()) {
    setModel(rows_.get());
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (onColumnClick) {
            onColumnClick(column);
        }
    });
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
    rows_->Clear();
}

int ListView::RowCount() const {
    return rows_->rowCount();
}

QString ListView::Text(int row, int column) const {
    rows_->EnsureOrder();
    CheckRow(row);
    return ListViewRows::Cell(rows_->At(row), column);
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
    QTreeView::mousePressEvent(event);
}

void ListView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    if (pressedOnRow_ && event->button() == Qt::LeftButton) {
        pressedOnRow_ = false;
        RaiseClick();
    }
}

void ListView::keyPressEvent(QKeyEvent* event) {
    const int before = SelectedRow();
    QTreeView::keyPressEvent(event);
    if (SelectedRow() != before) {
        RaiseClick();
    }
}

void ListView::paintEvent(QPaintEvent* event) {
    rows_->EnsureOrder();
    QTreeView::paintEvent(event);
}

} // namespace platform
