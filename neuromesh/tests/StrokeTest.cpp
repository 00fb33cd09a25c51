// Recording, resampling and normalising strokes, and the choice of category.
#include "Stroke.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace {

using neuromesh::BestCategory;
using neuromesh::ResampleStroke;
using neuromesh::StrokeOutcome;
using neuromesh::StrokeRecorder;
using Points = std::vector<std::pair<float, float>>;

StrokeRecorder Record(const Points& points) {
    StrokeRecorder stroke;
    stroke.Press(points.empty() ? 0 : points[0].first, points.empty() ? 0 : points[0].second);
    for (const auto& [x, y] : points) {
        stroke.Move(x, y);
        stroke.Tick();
    }
    return stroke;
}

TEST(StrokeTest, ResamplesAndScalesIntoTheBoxOfTheLaterPositions) {
    const struct {
        const char* name;
        Points points;
        int n;
        std::vector<double> sampled, input;
    } cases[] = {
        // step 3/4: positions 0, 0.75, 1.5, 2.25 take points 0, 1, 2, 2; the box
        // comes from 1, 2, 2, 3, so point 0 lies outside it.
        {"exactly n points",
         {{100, 100}, {200, 300}, {400, 200}, {600, 500}},
         4,
         {100, 100, 200, 300, 400, 200, 400, 200},
         {-0.25, -1.0 / 3, 0, 1.0 / 3, 0.5, 0, 0.5, 0}},
        // step 1/2: 0.5 rounds to 0, so both samples are point 0.
        {"halves to even", {{10, 20}, {50, 80}}, 2, {10, 20, 10, 20}, {0, 0, 0, 0}},
        {"dwelling weighs the dwell point",
         {{0, 0}, {900, 900}, {900, 900}, {900, 900}, {900, 900}, {300, 600}},
         2,
         {0, 0, 900, 900},
         {-0.5, -2, 1, 1}},
        // The box starts at the canvas size, which here is below every point.
        {"right of the canvas",
         {{3100, 100}, {3200, 200}, {3400, 400}},
         2,
         {3100, 100, 3200, 200},
         {0.25, -0.5, 0.5, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<double> sampled, input;
        EXPECT_EQ(ResampleStroke(Record(c.points), c.n, 3000, 3000, sampled, input),
                  StrokeOutcome::kKept);
        EXPECT_EQ(sampled, c.sampled);
        ASSERT_EQ(input.size(), c.input.size());
        for (size_t k = 0; k < input.size(); ++k)
            EXPECT_DOUBLE_EQ(input[k], c.input[k]) << k;
    }
}

TEST(StrokeTest, ShortAndFlatStrokesAreDropped) {
    const struct {
        Points points;
        StrokeOutcome outcome;
    } cases[] = {
        {{}, StrokeOutcome::kTooShort},
        {{{5, 5}, {9, 7}}, StrokeOutcome::kTooShort},
        {{{5, 5}, {9, 5}, {20, 5}}, StrokeOutcome::kFlat},
        {{{5, 5}, {5, 9}, {5, 30}}, StrokeOutcome::kFlat},
        {{{5, 5}, {5, 5}, {5, 5}, {5, 5}}, StrokeOutcome::kFlat},
    };
    for (const auto& c : cases) {
        std::vector<double> sampled, input{7, 7, 7, 7, 7, 7};
        EXPECT_EQ(ResampleStroke(Record(c.points), 3, 3000, 3000, sampled, input), c.outcome);
        EXPECT_EQ(input, std::vector<double>(6, 7)) << "a dropped stroke leaves the input";
    }
}

TEST(StrokeTest, TicksRecordTheLatestPositionUpToTheLimit) {
    StrokeRecorder stroke;
    stroke.Press(10, 20);
    stroke.Tick();
    stroke.Move(30, 40);
    stroke.Move(50, 60);
    stroke.Tick();
    stroke.Tick();
    EXPECT_EQ(std::vector<float>(stroke.strokeY().begin(), stroke.strokeY().end()),
              (std::vector<float>{20, 60, 60}));
    for (int tick = 0; tick < 40000; ++tick)
        stroke.Tick();
    EXPECT_EQ(stroke.pointcount(), StrokeRecorder::kMaxPoints);
}

TEST(StrokeTest, TheLargestOutputWinsAndTiesGoToTheLowerCategory) {
    const std::pair<std::vector<double>, int> cases[] = {
        {{0.2, 0.5, 0.5}, 1},
        {{0.7, 0.7, 0.1}, 0},
        {{0.1, 0.3, 0.2, 0.9, 0.9}, 3},
        {{0.4}, 0},
        {{}, 0},
    };
    for (const auto& [outputs, best] : cases)
        EXPECT_EQ(BestCategory(outputs), best);
}

} // namespace
