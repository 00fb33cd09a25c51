// frmCooperon: the population picture and the situation chart. Every cell is
// a filled box written straight into the picture's image.

#include "Color.h"
#include "Conversions.h"
#include "ScrollBar.h"
#include "StatusBar.h"
#include "Surface.h"
#include "frmCooperon.h"

#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <array>

namespace {

constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBarBack = qRgb(0xE0, 0xE0, 0xE0);
constexpr QRgb kInitialBar = qRgb(0, 0, 255);
constexpr int kRows = 64;
constexpr int kRowPitch = 9;

// A box filled in one colour, both corners included.
void FilledBox(platform::Surface& picture, int x1, int y1, int x2, int y2, QRgb color) {
    picture.SetPen(color);
    picture.SetBrush(color);
    picture.Box(QPoint(x1, y1), QPoint(x2, y2));
}

int Rounded(double value) {
    return int(platform::RoundHalfEven(value));
}

// A line in the button-shadow colour from (x, 0) down to (x, bottom), as a
// box one pixel wide, so that no drawing goes through the painter.
void VerticalLine(platform::Surface& picture, int x, int bottom) {
    FilledBox(picture, x, 0, x, bottom, platform::ToQColor(platform::kButtonShadowColor).rgb());
}

} // namespace

void frmCooperon::DrawSituation(platform::Surface& picture, int x, int y, int s) {
    // Columns dx = 0, 4, 8: the oldest, middle and latest game; the own move
    // on top, the partner's below. Green squares first, then red: the
    // squares do not overlap, and the colour changes at most once.
    for (const int move : {0, 1}) {
        for (int column = 0; column < 3; ++column) {
            const int dx = 4 * column;
            if (((s & bitMask[5 - 2 * column]) != 0) == (move != 0))
                FilledBox(picture, x + dx, y, x + dx + 3, y + 3, moveColor[move]);
            if (((s & bitMask[4 - 2 * column]) != 0) == (move != 0))
                FilledBox(picture, x + dx, y + 4, x + dx + 3, y + 7, moveColor[move]);
        }
    }
}

void frmCooperon::DrawPopulation() {
    const int32_t size = population_.GetSize();
    const int maximum = size >= kRows + 1 ? size - kRows : 0;
    // Clamping the value quietly first keeps the range change from drawing again.
    if (scrPop->Value() > maximum)
        scrPop->SetValueQuiet(maximum);
    scrPop->SetMax(maximum);

    platform::Surface& picture = *picPopCanvas;
    VerticalLine(picture, cmdActions->width(), picCanvas->height());

    const int left = cmdActions->x() - picPopCanvas->x();
    const int genomeX = Rounded(left + cmdActions->width() / 2.0 - 128);
    const int glyphX = Rounded(left + cmdActions->width() + cmdInitial->width() / 2.0 - 12);
    const int top = cmdActions->height() + 1;

    const int first = scrPop->Value();
    const int last = size >= kRows ? first + kRows - 1 : first + size - 1;
    const int shown = std::clamp(std::min(last, memberOrder_.Rows() - 1) - first + 1, 0, kRows);
    // Each shown member's response genes, bit i = gene i.
    std::array<uint64_t, kRows> genes{};
    std::array<int32_t, kRows> initial{};
    for (int k = 0; k < shown; ++k) {
        const int32_t m = memberOrder_[first + k];
        for (int i = 0; i < cooperon::kSituations; ++i)
            genes[k] |= uint64_t(population_.GetGene(m, i) != 0) << i;
        initial[k] = population_.GetInitial(m);
    }
    // A cell per gene; neighbouring cells of one colour make one box, and
    // each colour is drawn in one pass: the same pixels as a box per gene.
    for (const int move : {0, 1}) {
        for (int k = 0; k < shown; ++k) {
            const uint64_t ofMove = move ? genes[k] : ~genes[k];
            const int y = top + kRowPitch * k;
            for (int i = 0; i < cooperon::kSituations;) {
                if (!(ofMove >> i & 1)) {
                    ++i;
                    continue;
                }
                int j = i + 1;
                while (j < cooperon::kSituations && (ofMove >> j & 1))
                    ++j;
                FilledBox(picture, genomeX + 4 * i, y, genomeX + 4 * (j - 1) + 3, y + 7,
                          moveColor[move]);
                i = j;
            }
        }
    }
    for (int k = 0; k < shown; ++k)
        DrawSituation(picture, glyphX, top + kRowPitch * k, initial[k]);
    for (int k = shown; k < kRows; ++k) {
        const int y = top + kRowPitch * k;
        FilledBox(picture, genomeX, y, genomeX + 255, y + 7, kWhite);
        FilledBox(picture, glyphX, y, glyphX + 11, y + 7, kWhite);
    }
}

void frmCooperon::DrawChart() {
    DrawPopulation();
    DrawChartRows();
    statBar->SetPanelText(kGenerationPanel, "Generation " + QString::number(generation_));
}

void frmCooperon::DrawChartRows() {
    cooperon::Shares response;
    cooperon::Shares initial;
    stats_.ChartShares(!optCurrent->isChecked(), generation_, response, initial);
    chartRows_ = cooperon::ChartOrder(chartOrder_, response, initial);

    platform::Surface& picture = *picCanvas;
    const int height = picCanvas->height();
    const int situationWidth = cmdSituation->width();
    const int actionWidth = cmdAction->width();
    VerticalLine(picture, situationWidth, height);
    VerticalLine(picture, situationWidth + actionWidth, height);

    const int glyphX = Rounded(cmdSituation->x() - picCanvas->x() + situationWidth / 2.0 - 12);
    const int respX = situationWidth + 10;
    const int respW = actionWidth - 20;
    const int initX = situationWidth + actionWidth + 10;
    const int initW = cmdStart->width() - 20;
    const int top = cmdSituation->height() + 1;
    for (int n = 0; n < cooperon::kSituations; ++n)
        DrawSituation(picture, glyphX, top + kRowPitch * n, chartRows_[n]);
    // Each bar is its share drawn over its back: here the share, then the
    // rest of the back beside it, each colour in one pass; the same pixels.
    struct Bar {
        int x;
        int width;
        QRgb share;
        QRgb back;
    };
    const Bar bars[] = {{respX, respW, moveColor[0], moveColor[1]},
                        {initX, initW, kInitialBar, kBarBack}};
    for (const Bar& bar : bars) {
        std::array<int, cooperon::kSituations> ends;
        for (int n = 0; n < cooperon::kSituations; ++n) {
            const int16_t s = chartRows_[n];
            const double share = &bar == &bars[0] ? 1 - response[s] : initial[s];
            ends[n] = Rounded(bar.x + share * bar.width);
        }
        for (int n = 0; n < cooperon::kSituations; ++n) {
            const int y = top + kRowPitch * n;
            FilledBox(picture, bar.x, y, ends[n], y + 7, bar.share);
        }
        for (int n = 0; n < cooperon::kSituations; ++n) {
            const int y = top + kRowPitch * n;
            const int from = std::max(ends[n] + 1, bar.x);
            if (from <= bar.x + bar.width)
                FilledBox(picture, from, y, bar.x + bar.width, y + 7, bar.back);
        }
    }
}
