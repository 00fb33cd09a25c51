#pragma once

#include <QHeaderView>
#include <QString>
#include <QStringList>
#include <QTableView>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

// A list view in report mode: captioned columns over rows of texts, one row
// selected at a time, rows and columns indexed from 0. Each row carries a 32-bit
// row data that stays with it through sorting. Adding a row is cheap (no widget
// or object per row), so a list of 100,000 rows fills in a few tens of
// milliseconds, and the rows are held compactly: 16 bytes a row beside its
// texts, stored as Latin-1 bytes where every character of the row allows,
// each after a length of usually one unit; the view itself keeps 8 bytes a
// row for the row positions. Emptying a long list gives all of it back.
//
// Home and End go to the first and the last row; the keys Left and Right do
// not move the selection.
//
// Sorting compares the texts of the sort column ordinally (by UTF-16 code units,
// so "B" < "a" and " 9" < "10"); rows with equal texts keep their order. A sorted
// list keeps itself in order: added rows and changed texts find their place
// before the rows are next read or painted. The selected row stays selected
// wherever it moves.
//
// Events:
// - onClick: the user clicks a row (also the selected one) or moves the selection
//   with the keys. Selecting from code raises nothing; neither does a click below
//   the last row, which keeps the selection.
// - onColumnClick(column): the user clicks a column header. The list does not
//   sort by itself; the handler usually calls ToggleSort(column).
//
// Indices out of range throw std::out_of_range. Widths are in pixels.

namespace platform {

class ListViewRows;

class ListView : public QTableView {
public:
    explicit ListView(QWidget* parent = nullptr);
    ~ListView() override;

    std::function<void()> onClick;
    std::function<void(int column)> onColumnClick;

    // The column headers.
    QHeaderView* header() const { return horizontalHeader(); }

    void AddColumn(const QString& caption, int width);
    void ClearColumns();
    int ColumnCount() const;
    QString ColumnCaption(int column) const;
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    // Texts beyond the columns are kept and not shown; missing ones are empty.
    void AddRow(const QStringList& texts, int rowData = 0);
    // Adds the rows after the last one in one insertion, each with row data 0,
    // and empties texts: the way to fill a long list in batches.
    void AddRows(std::vector<QStringList>&& texts);
    void RemoveRow(int row);
    // Removes every row; the columns and the sort stay.
    void Clear();
    int RowCount() const;
    // The bytes the rows take: their records and texts, with the room kept for
    // more.
    std::size_t StorageBytes() const;
    QString Text(int row, int column) const;
    void SetText(int row, int column, const QString& text);
    int RowData(int row) const;
    void SetRowData(int row, int data);

    // -1 for none.
    int SelectedRow() const;
    void SetSelectedRow(int row);
    void EnsureVisible(int row);

    bool Sorted() const;
    int SortKey() const;
    Qt::SortOrder SortOrder() const;
    // Sorts by column now and keeps the list sorted.
    void Sort(int column, Qt::SortOrder order);
    // Ends keeping the order; the rows stay where they are.
    void SetUnsorted();
    // The usual column click: reverses the order when the list is sorted by this
    // column, otherwise sorts by it ascending.
    void ToggleSort(int column);

    // As the user would: clicks a row (a disabled list ignores it) or a header.
    void ClickRow(int row);
    void ClickColumn(int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    // A new header for the rows, of the row height of the font: the old one
    // goes with the room it kept for every row the list ever had.
    void NewRowHeader();
    void SetRowHeight();
    void CheckRow(int row) const;
    void CheckColumn(int column) const;
    void ShowSortIndicator();
    void RaiseClick();

    std::unique_ptr<ListViewRows> rows_;
    bool pressedOnRow_ = false;
};

} // namespace platform
