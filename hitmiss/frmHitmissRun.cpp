// frmHitmiss: Go and Stop, and the sampling loop of a run.

#include "Conversions.h"
#include "Dialogs.h"
#include "NumberFormat.h"
#include "Pump.h"
#include "Surface.h"
#include "TextBox.h"
#include "frmHitmiss.h"

#include <QGroupBox>
#include <QPushButton>
#include <chrono>
#include <utility>

namespace {

double ValueOf(const platform::TextBox* box) {
    return platform::Val(box->text().toStdString());
}

// The results are shown at most once a frame; the clock is read every so many points.
constexpr std::chrono::milliseconds kResultsFrame{16};
constexpr int kPointsPerClockRead = 64;

} // namespace

void frmHitmiss::cmdGo_Click() {
    if (isRunning) {
        isRunning = false;
        cmdGo->setText("Go");
        return;
    }
    const QString text = txtFunction->text();
    int16_t start = 1;
    formula_.FromString(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), text.size()), start,
        -1);
    if (!formula_.isValid()) {
        // A text rejected without a code, such as "(3+4", still has the
        // position of its fault.
        if (formula_.pe != 0 || formula_.errpos != 0) {
            const std::string_view message = formula_.ErrMessage();
            platform::MessageBox(message.empty()
                                     ? QStringLiteral("Parse error")
                                     : QString::fromUtf8(message.data(), message.size()),
                                 "Parser error", platform::MessageIcon::Critical);
            txtFunction->setFocus();
            if (formula_.errpos >= 1)
                txtFunction->setSelection(formula_.errpos - 1, 1);
        } else {
            platform::MessageBox("First input a function", "Go", platform::MessageIcon::Critical);
        }
        return;
    }
    lowerX = ValueOf(txtMin);
    upperX = ValueOf(txtMax);
    if (lowerX == upperX) {
        platform::MessageBox("Please input (different) bounds for x", "Go",
                             platform::MessageIcon::Critical);
        return;
    }
    if (lowerX > upperX) {
        std::swap(lowerX, upperX);
        // With "." and without grouping, so that the next Go reads them back.
        txtMin->setText(platform::WithDecimalPoint(platform::FormatGeneral(lowerX)));
        txtMax->setText(platform::WithDecimalPoint(platform::FormatGeneral(upperX)));
    }
    hitCount = 0;
    trialCount = 0;
    undefinedReported_ = false;
    // The repaint clears what was drawn before and plots this function.
    surface->Refresh();
    // Without a box for this function there is nothing to sample in.
    if (!plotted_)
        return;
    isRunning = true;
    cmdGo->setText("Stop");
    Run();
}

void frmHitmiss::Run() {
    using Clock = std::chrono::steady_clock;
    Clock::time_point nextResults = Clock::now() + kResultsFrame;
    int untilClockRead = kPointsPerClockRead;
    while (isRunning) {
        const hitmiss::Point p = sampler_.Next(formula_, lowerX, upperX, lowerY, upperY);
        hitCount += p.hit;
        trialCount += 1;
        if (framRes->isHidden()) {
            ShowResults();
        } else if (--untilClockRead == 0) {
            untilClockRead = kPointsPerClockRead;
            const Clock::time_point now = Clock::now();
            if (now >= nextResults) {
                ShowResults();
                nextResults = now + kResultsFrame;
            }
        }
        surface->SetPixelRgb(hitmiss::PixelOf(p.x * xScale + xOffset),
                             hitmiss::PixelOf(p.y * yScale + yOffset), pointColours_[p.hit + 1]);
        platform::DoEvents();
    }
    ShowResults();
}
