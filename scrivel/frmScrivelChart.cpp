// frmScrivel: the bar chart of the 20 largest values of the selected statistic.

#include "NumberFormat.h"
#include "Surface.h"
#include "TabStrip.h"
#include "frmLetters.h"
#include "frmScrivel.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kNameWidth = 1200;
constexpr int kValueGap = 100;

enum Tab { kLetters = 1, kPairs = 2, kTriplets = 3, kLanguage = 4 };

} // namespace

void frmScrivel::SetBarLength(int k, int length) {
    rows_[k].length = length;
    const QRect bar = shpBar[k]->Geometry();
    shpBar[k]->SetGeometry(bar.left(), bar.top(), length, bar.height());
    lblBar2[k]->Move(kNameWidth + length + kValueGap, bar.top());
}

void frmScrivel::ShowRow(int k) {
    const BarRow& row = rows_[k];
    lblBar[k]->SetText(row.name);
    lblBar2[k]->SetText(platform::FormatGeneral(row.value));
    SetBarLength(k, row.length);
    lblBar[k]->SetVisible(row.visible);
    shpBar[k]->SetVisible(row.visible);
    lblBar2[k]->SetVisible(row.visible);
}

void frmScrivel::ClearBars() {
    for (int k = 0; k < kBars; ++k) {
        rows_[k].value = -1;
        rows_[k].visible = false;
        shpBar[k]->SetVisible(false);
        lblBar[k]->SetVisible(false);
        lblBar2[k]->SetVisible(false);
    }
}

void frmScrivel::InsertBar(const QString& name, double v) {
    if (!(v > 0) || rows_[kBars - 1].value >= v)
        return;
    int k = kBars - 1;
    while (k > 0 && rows_[k - 1].value < v) {
        rows_[k] = rows_[k - 1];
        ShowRow(k);
        --k;
    }
    rows_[k].name = name;
    rows_[k].value = v;
    rows_[k].visible = true;
    const auto length = [this](double value) {
        return static_cast<int>(std::lround(BarWidth * value / rows_[0].value));
    };
    if (k == 0) {
        rows_[0].length = BarWidth;
        for (int s = 1; s < kBars; ++s)
            if (rows_[s].value > 0 && rows_[s].visible)
                SetBarLength(s, length(rows_[s].value));
    } else {
        rows_[k].length = length(v);
    }
    ShowRow(k);
}

void frmScrivel::ShowStatistics() {
    ClearBars();
    const int n = stats_.Size();
    // Only a value that would take a row gets its label built.
    const auto takes = [this](double v) { return v > 0 && v > rows_[kBars - 1].value; };
    switch (tabStats->SelectedIndex()) {
    case kLetters:
        for (int i = 0; i < n; ++i)
            InsertBar(Label(i), stats_.LetterCount(i));
        break;
    case kPairs: {
        const std::span<const double> pairs = stats_.PairCounts();
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                const double v = pairs[static_cast<size_t>(i) * n + j];
                if (takes(v))
                    InsertBar(Label(i) + Label(j), v);
            }
        break;
    }
    case kTriplets: {
        const std::span<const double> triplets = stats_.TripletCounts();
        size_t at = 0;
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j)
                for (int k = 0; k < n; ++k, ++at) {
                    const double v = triplets[at];
                    if (takes(v))
                        InsertBar(Label(i) + Label(j) + Label(k), v);
                }
        break;
    }
    case kLanguage: {
        const std::vector<double>& diff = stats_.LangDiff();
        if (diff.empty() || !(diff[0] > -1))
            break;
        double most = 0;
        for (const double d : diff)
            most = std::max(most, d);
        const double m = 1.1 * most;
        for (size_t i = 0; i < diff.size(); ++i)
            InsertBar(LangName(i), m - diff[i]);
        for (int k = 0; k < kBars; ++k)
            lblBar2[k]->SetVisible(false);
        break;
    }
    default:
        break;
    }
    tabStats->BringToFront(framBars0);
    valid_ = true;
}
