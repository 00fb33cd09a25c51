// Filling the report list view: 100,000 rows of two texts (a file name and a
// size, as Leadigit's folder scan and data files add them), added one at a time
// into a shown offscreen list, then laid out and painted once. Baseline in the
// same process: the same rows as one QTreeWidgetItem each into a QTreeWidget.
// Also: sorting the filled list by each column, and filling a list that is kept
// sorted. Real time of the timed part only: the texts are made, and the list
// made, emptied or destroyed, before the clock starts.
//
// The summary at the end prints each case's time and list view / baseline.

#include "BenchMain.h"
#include "ListView.h"

#include <QApplication>
#include <QTreeWidget>
#include <chrono>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;

const std::vector<QStringList>& Rows() {
    static const std::vector<QStringList> rows = [] {
        std::mt19937 random(12);
        std::vector<QStringList> made;
        made.reserve(kRows);
        for (int i = 0; i < kRows; ++i) {
            made.push_back({QString("file%1.dat").arg(random() % 1000000),
                            QString::number(random() % 100000000)});
        }
        return made;
    }();
    return rows;
}

template <class Setup, class Operation>
void Timed(benchmark::State& state, const char* name, Setup setup, Operation op) {
    std::chrono::steady_clock::duration total{};
    for (auto _ : state) {
        setup();
        const auto start = std::chrono::steady_clock::now();
        op();
        const auto took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(std::chrono::duration<double>(took).count());
        total += took;
    }
    bench::Seconds()[name] = std::chrono::duration<double>(total).count() /
                      static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.SetItemsProcessed(state.iterations() * kRows);
}

template <class View> void Show(View& view) {
    view.resize(400, 300);
    view.show();
    QApplication::processEvents();
}

platform::ListView& NewListView(std::unique_ptr<platform::ListView>& view) {
    view = std::make_unique<platform::ListView>();
    view->AddColumn("Item", 200);
    view->AddColumn("Value", 150);
    Show(*view);
    return *view;
}

void Fill(platform::ListView& view) {
    for (const QStringList& row : Rows()) {
        view.AddRow(row);
    }
    view.viewport()->repaint();
}

void BM_ListViewAddRows(benchmark::State& state) {
    std::unique_ptr<platform::ListView> view;
    Timed(state, "list view, add 100,000 rows", [&] { NewListView(view); }, [&] { Fill(*view); });
    if (view->RowCount() != kRows) {
        state.SkipWithError("rows missing");
    }
}

void BM_TreeWidgetAddItems(benchmark::State& state) {
    std::unique_ptr<QTreeWidget> tree;
    Timed(
        state, "baseline QTreeWidget, add 100,000 items",
        [&] {
            tree = std::make_unique<QTreeWidget>();
            tree->setColumnCount(2);
            tree->setRootIsDecorated(false);
            tree->setUniformRowHeights(true);
            Show(*tree);
        },
        [&] {
            for (const QStringList& row : Rows()) {
                tree->addTopLevelItem(new QTreeWidgetItem(row));
            }
            tree->viewport()->repaint();
        });
}

void BM_ListViewSort(benchmark::State& state) {
    std::unique_ptr<platform::ListView> view;
    NewListView(view);
    Fill(*view);
    int column = 0;
    Timed(state, "list view, sort 100,000 rows", [] {},
          [&] {
              view->ToggleSort(column);
              view->viewport()->repaint();
              column = 1 - column;
          });
}

void BM_SortedListViewAddRows(benchmark::State& state) {
    std::unique_ptr<platform::ListView> view;
    Timed(
        state, "sorted list view, add 100,000 rows",
        [&] { NewListView(view).Sort(0, Qt::AscendingOrder); }, [&] { Fill(*view); });
}

} // namespace

BENCHMARK(BM_ListViewAddRows)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_TreeWidgetAddItems)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_ListViewSort)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_SortedListViewAddRows)->Unit(benchmark::kMillisecond)->UseManualTime();

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    if (!bench::ReadArguments(argc, argv)) {
        return 1;
    }
    Rows();
    bench::RunAndShutdown();

    const auto& s = bench::Seconds();
    std::printf("\nSummary (seconds per run):\n");
    for (const auto& [name, seconds] : s) {
        std::printf("  %-42s %8.4f\n", name.c_str(), seconds);
    }
    const auto view = s.find("list view, add 100,000 rows");
    const auto base = s.find("baseline QTreeWidget, add 100,000 items");
    if (view != s.end() && base != s.end() && base->second > 0) {
        std::printf("  list view / QTreeWidget baseline: %.3f\n", view->second / base->second);
    }
    return 0;
}
