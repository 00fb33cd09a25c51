#include "EpidemicGrid.h"

#include "RandomStates.h"

#include <gtest/gtest.h>

namespace {

using gridwalk_test::Faces;
using gridwalk_test::StateWhoseDrawsAre;

class Epidemic : public ::testing::Test {
protected:
    // A grid of w x h with persons at the given levels (-1 empty), x-fastest.
    void Grid(int16_t w, int16_t h, std::vector<double> levels) {
        grid_.AllocateGrid(w, h);
        for (int16_t y = 0; y < h; ++y)
            for (int16_t x = 0; x < w; ++x)
                grid_.sickness(x, y) = levels[y * w + x];
    }
    int Occupied() {
        int n = 0;
        for (int16_t x = 0; x < grid_.gridW; ++x)
            for (int16_t y = 0; y < grid_.gridH; ++y)
                n += grid_.sickness(x, y) != -1;
        return n;
    }
    platform::RuntimeRandom random_;
    EpidemicGrid grid_{random_};
};

TEST_F(Epidemic, PersonsTakeTheEthEmptyCellInOrder) {
    grid_.AllocateGrid(3, 3);
    grid_.ClearGrid();
    grid_.CountPersons(50);
    EXPECT_EQ(grid_.personCount, 4) << "4.5 rounds to even";
    grid_.CountPersons(30);
    EXPECT_EQ(grid_.personCount, 3) << "2.7 rounds up";
    grid_.CountPersons(50);
    // Draws: e = int(r * 9) = 4 (the centre), sick; then e = int(r * 8) = 4, the fifth empty cell
    // skipping the centre, (2,1); healthy; and so on.
    random_.SetState(StateWhoseDrawsAre(4, [](const std::vector<double>& d) {
        return static_cast<int>(d[0] * 9) == 4 && d[1] < 0.5 && static_cast<int>(d[2] * 8) == 4 && d[3] >= 0.5;
    }));
    grid_.personCount = 2;
    grid_.PlacePersons(50);
    EXPECT_EQ(grid_.sickness(1, 1), 1);
    EXPECT_EQ(grid_.sickness(2, 1), 0);
    EXPECT_EQ(Occupied(), 2);

    grid_.ClearGrid();
    grid_.CountPersons(100);
    grid_.PlacePersons(5);
    EXPECT_EQ(Occupied(), 9);
    grid_.ClearGrid();
    grid_.CountPersons(0);
    EXPECT_EQ(grid_.personCount, 0);
    grid_.PlacePersons(5);
    grid_.SimulationStep(2, 1);
    EXPECT_EQ(Occupied(), 0) << "an empty grid stays empty";
}

TEST_F(Epidemic, FullGridNobodyMovesButFacingPairsMeet) {
    // A healthy and a sick person in the last row face each other; the healthy one catches it.
    Grid(2, 2, {0, 0, 0, 1});
    random_.SetState(StateWhoseDrawsAre(5, [](const std::vector<double>& d) {
        // Directions by x outer, y inner: (0,0), (0,1), (1,0), (1,1); then the first contact test.
        return Faces(d[0], 2) && Faces(d[1], 0) && Faces(d[2], 3) && Faces(d[3], 2) && d[4] < 0.98;
    }));
    grid_.SimulationStep(2, 1);
    EXPECT_EQ(Occupied(), 4);
    EXPECT_EQ(grid_.sickness(0, 1), 1) << "infected by its partner";
    EXPECT_EQ(grid_.sickness(1, 1), 0.98) << "recovered before the contact";
    EXPECT_EQ(grid_.sickness(0, 0), 0);
}

TEST_F(Epidemic, LastColumnMeetsVerticallyAndTheThresholdProtects) {
    // (1,0) over (1,1) in the last column; the upper one is at 0.5, above the threshold.
    Grid(2, 2, {-1, 0.5, -1, 1});
    random_.SetState(StateWhoseDrawsAre(2, [](const std::vector<double>& d) {
        return Faces(d[0], 1) && Faces(d[1], 3);
    }));
    grid_.SimulationStep(0, 1);
    EXPECT_EQ(grid_.sickness(1, 0), 0.5);
    EXPECT_EQ(grid_.sickness(1, 1), 1);
}

TEST_F(Epidemic, EachContactTestReadsThePartnersLevel) {
    // A healthy person at (0,0) faces one at 0.3; both are at or below the threshold of 50%.
    Grid(2, 1, {0, 0.3});
    random_.SetState(StateWhoseDrawsAre(4, [](const std::vector<double>& d) {
        // Directions of (0,0) and (1,0); the draw against 0.3, then the draw against 0.
        return Faces(d[0], 0) && Faces(d[1], 2) && d[2] >= 0.3 && d[3] < 0.3;
    }));
    grid_.SimulationStep(0, 50);
    EXPECT_EQ(grid_.sickness(0, 0), 0) << "the draw was not below its partner's 0.3";
    EXPECT_EQ(grid_.sickness(1, 0), 0.3) << "a healthy partner infects nobody";
}

TEST_F(Epidemic, EdgesAndContestedCellsKeepPersonsInPlace) {
    // (0,0) and (1,0) face outward; (0,1) and (2,1) both face the empty (1,1).
    Grid(3, 2, {0, 0, -1, 0, -1, 0});
    random_.SetState(StateWhoseDrawsAre(4, [](const std::vector<double>& d) {
        // (0,0), (0,1), (1,0), (2,1)
        return Faces(d[0], 2) && Faces(d[1], 0) && Faces(d[2], 3) && Faces(d[3], 2);
    }));
    grid_.SimulationStep(2, 1);
    EXPECT_EQ(Occupied(), 4);
    EXPECT_NE(grid_.sickness(0, 0), -1);
    EXPECT_NE(grid_.sickness(0, 1), -1);
    EXPECT_NE(grid_.sickness(2, 1), -1);
    EXPECT_EQ(grid_.sickness(1, 1), -1);
}

TEST_F(Epidemic, ALonePersonMovesIntoTheCellItFaces) {
    Grid(2, 1, {0.5, -1});
    random_.SetState(StateWhoseDrawsAre(1, [](const std::vector<double>& d) { return Faces(d[0], 0); }));
    grid_.SimulationStep(50, 1);
    EXPECT_EQ(grid_.sickness(0, 0), -1);
    EXPECT_EQ(grid_.sickness(1, 0), 0.25);
}

TEST_F(Epidemic, ACellLeftInOneStepIsEnteredInTheNext) {
    // Step 1: (0,0) faces the edge, (1,0) moves on to (2,0); step 2: (0,0) moves into (1,0),
    // and (2,0) faces the edge.
    Grid(3, 1, {0, 0.5, -1});
    random_.SetState(StateWhoseDrawsAre(4, [](const std::vector<double>& d) {
        return Faces(d[0], 2) && Faces(d[1], 0) && Faces(d[2], 0) && Faces(d[3], 0);
    }));
    grid_.SimulationStep(0, 0);
    EXPECT_EQ(grid_.sickness(2, 0), 0.5);
    grid_.SimulationStep(0, 0);
    EXPECT_EQ(Occupied(), 2);
    EXPECT_EQ(grid_.sickness(1, 0), 0);
    EXPECT_EQ(grid_.sickness(2, 0), 0.5);
}

TEST_F(Epidemic, AFullySickPersonNeeds228StepsToBeSusceptibleAgain) {
    Grid(1, 1, {1});
    int steps = 0;
    while (grid_.sickness(0, 0) > 0.01)
        grid_.SimulationStep(2, 1), ++steps;
    EXPECT_EQ(steps, 228);
    EXPECT_NEAR(grid_.sickness(0, 0), 0.0099895, 1e-7);
}

} // namespace
