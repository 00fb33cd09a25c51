#include "ListView.h"

#include <QApplication>
#include <QHeaderView>
#include <QTest>
#include <gtest/gtest.h>
#include <vector>

using namespace platform;

namespace {

// The texts of one column, top to bottom.
QStringList Column(const ListView& view, int column) {
    QStringList texts;
    for (int row = 0; row < view.RowCount(); ++row) {
        texts.append(view.Text(row, column));
    }
    return texts;
}

// Scrivel's language report: three languages, row data 1, 2, 3.
void FillLanguages(ListView& view) {
    view.AddColumn("Language", 100);
    view.AddColumn("Letter difference", 100);
    view.AddColumn("Pair difference", 100);
    view.AddRow({"English", "0,1250000000", "0,5000000000"}, 1);
    view.AddRow({"german", "0,0625000000", "0,7500000000"}, 2);
    view.AddRow({"Dutch", "0,2500000000", "0,2500000000"}, 3);
}

} // namespace

TEST(ListView, ToggleSortAscendingThenDescendingWithRowDataAndSelection) {
    ListView view;
    FillLanguages(view);
    view.SetSelectedRow(1); // german
    struct Click {
        int column;
        Qt::SortOrder order;
        QStringList languages;
    };
    const std::vector<Click> clicks = {
        {1, Qt::AscendingOrder, {"german", "English", "Dutch"}},
        {1, Qt::DescendingOrder, {"Dutch", "English", "german"}},
        {1, Qt::AscendingOrder, {"german", "English", "Dutch"}},
        {0, Qt::AscendingOrder, {"Dutch", "English", "german"}}, // ordinal: upper case first
        {0, Qt::DescendingOrder, {"german", "English", "Dutch"}},
        {2, Qt::AscendingOrder, {"Dutch", "English", "german"}},
    };
    for (const Click& click : clicks) {
        view.ToggleSort(click.column);
        EXPECT_EQ(std::tuple(view.Sorted(), view.SortKey(), view.SortOrder()),
                  std::tuple(true, click.column, click.order));
        EXPECT_EQ(Column(view, 0), click.languages);
        EXPECT_EQ(view.header()->sortIndicatorSection(), click.column);
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(view.RowData(row), 1 + QStringList({"English", "german", "Dutch"})
                                                 .indexOf(view.Text(row, 0)));
        }
        EXPECT_EQ(view.Text(view.SelectedRow(), 0), "german");
    }
}

TEST(ListView, OrdinalCompareAndEqualTextsKeepTheirOrder) {
    ListView view;
    view.AddColumn("Text", 100);
    // Space-padded counts sort by number; equal texts keep their order.
    const QStringList texts = {"b", "B", "  9", " 10", "a", "\u00e9", "z", "B", ""};
    for (int i = 0; i < texts.size(); ++i) {
        view.AddRow({texts[i]}, i);
    }
    view.Sort(0, Qt::AscendingOrder);
    EXPECT_EQ(Column(view, 0), (QStringList{"", "  9", " 10", "B", "B", "a", "b", "z", "\u00e9"}));
    EXPECT_EQ(std::pair(view.RowData(3), view.RowData(4)), std::pair(1, 7));
    view.Sort(0, Qt::DescendingOrder);
    EXPECT_EQ(Column(view, 0), (QStringList{"\u00e9", "z", "b", "a", "B", "B", " 10", "  9", ""}));
    EXPECT_EQ(std::pair(view.RowData(4), view.RowData(5)), std::pair(1, 7));
    EXPECT_THROW(view.Text(9, 0), std::out_of_range);
    EXPECT_THROW(view.Sort(1, Qt::AscendingOrder), std::out_of_range);
}

TEST(ListView, ASortedListKeepsAddedAndChangedRowsInOrder) {
    ListView view;
    view.AddColumn("Item", 80);
    view.AddColumn("Value", 80);
    view.AddRow({"m", "2"});
    view.AddRow({"c"}); // a missing text is empty
    view.Sort(0, Qt::AscendingOrder);
    view.AddRow({"a", "1"}, 5);
    view.AddRow({"x", "0"});
    EXPECT_EQ(Column(view, 0), (QStringList{"a", "c", "m", "x"}));
    EXPECT_EQ(view.RowData(0), 5);
    EXPECT_EQ(view.Text(1, 1), "");
    view.SetSelectedRow(3);
    view.SetText(3, 0, "b");
    view.SetText(0, 1, "changes no order");
    EXPECT_EQ(Column(view, 0), (QStringList{"a", "b", "c", "m"}));
    EXPECT_EQ(view.SelectedRow(), 1);

    // A batch goes into its places too; an empty one changes nothing.
    std::vector<QStringList> batch = {{"d", "4"}, {"aa"}, {"z", "9"}};
    view.AddRows(std::move(batch));
    EXPECT_TRUE(batch.empty());
    view.AddRows({});
    EXPECT_EQ(Column(view, 0), (QStringList{"a", "aa", "b", "c", "d", "m", "z"}));
    EXPECT_EQ(Column(view, 1), (QStringList{"changes no order", "", "0", "", "4", "2", "9"}));
    EXPECT_EQ(view.SelectedRow(), 2);
    EXPECT_EQ(view.RowData(1), 0);
    for (int row : {6, 4, 1})
        view.RemoveRow(row);

    view.SetUnsorted();
    view.AddRows({{"0"}});
    view.RemoveRow(0);
    EXPECT_FALSE(view.header()->isSortIndicatorShown());
    EXPECT_EQ(Column(view, 0), (QStringList{"b", "c", "m", "0"}));
    // Unsorted, a column click sorts ascending, also by the former sort column.
    view.ToggleSort(0);
    EXPECT_EQ(Column(view, 0), (QStringList{"0", "b", "c", "m"}));
}

TEST(ListView, UserClicksRaiseClickAndColumnClickCodeRaisesNothing) {
    QWidget window;
    ListView view(&window);
    view.resize(300, 200);
    FillLanguages(view);
    std::vector<int> clicks;
    std::vector<int> columns;
    view.onClick = [&] { clicks.push_back(view.SelectedRow()); };
    view.onColumnClick = [&](int column) { columns.push_back(column); };
    window.show();
    QApplication::setActiveWindow(&window);

    view.SetSelectedRow(0);
    view.SetSelectedRow(-1);
    const QPoint row1 = view.visualRect(view.model()->index(1, 1)).center();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, row1);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, row1);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(5, view.viewport()->height() - 2));
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Down);
    // Left and Right keep the row; Home and End go to the first and last.
    for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End})
        QTest::keyClick(&view, key);
    view.ClickRow(0);
    EXPECT_EQ(clicks, (std::vector<int>{1, 1, 2, 0, 2, 0}));

    // A header click is reported; the list does not sort by itself.
    QHeaderView& header = *view.header();
    QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                      QPoint(header.sectionViewportPosition(2) + 10, header.height() / 2));
    view.ClickColumn(0);
    EXPECT_EQ(columns, (std::vector<int>{2, 0}));
    EXPECT_FALSE(view.Sorted());
    EXPECT_EQ(view.Text(0, 0), "English");

    view.setEnabled(false);
    view.ClickRow(2);
    view.ClickColumn(1);
    EXPECT_EQ(std::pair(clicks.size(), columns.size()), std::pair(std::size_t{6}, std::size_t{2}));
}

TEST(ListView, RowsAreHeldCompactlyAndEmptyingGivesTheRoomBack) {
    ListView view;
    view.AddColumn("Item", 80);
    view.AddColumn("Value", 80);
    constexpr int kRows = 100000;
    std::size_t textBytes = 0;
    for (int batch = 0; batch < kRows / 1000; ++batch) {
        std::vector<QStringList> rows;
        for (int i = 0; i < 1000; ++i) {
            rows.push_back({QString("file%1.dat").arg(batch * 1000 + i), QString::number(i * 37)});
            textBytes += rows.back()[0].size() + rows.back()[1].size();
        }
        view.AddRows(std::move(rows));
    }
    // A record, the texts and their lengths, with room for the last block and
    // the records' growth.
    EXPECT_LE(view.StorageBytes(), kRows * (2 * 16 + 2) + textBytes + (1 << 17));
    EXPECT_EQ(view.Text(54321, 0) + view.Text(54321, 1), "file54321.dat" + QString::number(321 * 37));

    // Texts of every kind read back as they were: outside Latin-1 (a lone
    // surrogate too), long ones whose lengths take more than one unit, and a
    // row longer than the blocks the rows share.
    const QString cyrillic = QString::fromUtf8("\xD0\x96\xD0\xB8\xD1\x82\xD1\x8C") + QChar(0xD800);
    const QStringList odd = {cyrillic, QString(200, 'x'), QString(40000, QChar(0x416)), "",
                             QString(70000, QChar(0xE9))};
    for (const QString& text : odd)
        view.AddRow({"odd", text}, 9);
    for (int i = 0; i < int(odd.size()); ++i)
        EXPECT_EQ(view.Text(kRows + i, 1), odd[i]) << i;
    EXPECT_EQ(view.RowData(kRows + 4), 9);

    view.Clear();
    EXPECT_EQ(view.StorageBytes(), 0u);
    EXPECT_EQ(view.RowCount(), 0);
}

TEST(ListView, ChangedAndRemovedRowsGiveTheirRoomBackAndKeepTheirOrder) {
    ListView view;
    view.AddColumn("Name", 80);
    view.AddColumn("Count", 80);
    for (int i = 0; i < 2000; ++i)
        view.AddRow({QString("n%1").arg(i, 4, 10, QChar('0')), "0"}, i);
    view.Sort(0, Qt::DescendingOrder);
    const std::size_t filled = view.StorageBytes();
    // Each change writes the row again; the old copies do not pile up.
    for (int round = 1; round <= 200; ++round) {
        for (int row = 0; row < 2000; row += 7)
            view.SetText(row, 1, QString(100, QChar('a' + round % 26)) + QString::number(round));
    }
    EXPECT_LE(view.StorageBytes(), 4 * filled + 300 * 110);
    EXPECT_EQ(view.Text(0, 0), "n1999");
    EXPECT_EQ(view.Text(7, 1), QString(100, QChar('a' + 200 % 26)) + "200");
    EXPECT_EQ(view.Text(8, 1), "0");
    EXPECT_EQ(view.RowData(7), 1992);
    for (int i = 0; i < 1990; ++i)
        view.RemoveRow(0);
    EXPECT_LE(view.StorageBytes(), filled + (1 << 17));
    EXPECT_EQ(view.Text(0, 0), "n0009");
    EXPECT_EQ(view.Text(9, 0), "n0000");
}
