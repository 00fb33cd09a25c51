#include "SegregationGrid.h"

#include "RandomStates.h"

#include <gtest/gtest.h>

namespace {

using gridwalk_test::Faces;
using gridwalk_test::StateWhoseDrawsAre;

class Segregation : public ::testing::Test {
protected:
    void Grid(int16_t w, int16_t h, const char* kinds) {
        grid_.AllocateGrid(w, h);
        for (int16_t y = 0; y < h; ++y)
            for (int16_t x = 0; x < w; ++x)
                grid_.kind(x, y) = kinds[y * w + x] == '.' ? -1 : static_cast<int16_t>(kinds[y * w + x] - '0');
    }
    std::string Kinds() {
        std::string s;
        for (int16_t y = 0; y < grid_.gridH; ++y)
            for (int16_t x = 0; x < grid_.gridW; ++x)
                s += grid_.kind(x, y) == -1 ? '.' : static_cast<char>('0' + grid_.kind(x, y));
        return s;
    }
    platform::RuntimeRandom random_;
    SegregationGrid grid_{random_};
};

TEST_F(Segregation, RatiosAndDensityPlaceResidentsCellByCell) {
    grid_.AllocateGrid(20, 20);
    grid_.PlaceResidents(100, 100);
    EXPECT_EQ(Kinds(), std::string(400, '0'));
    grid_.PlaceResidents(100, 0);
    EXPECT_EQ(Kinds(), std::string(400, '1'));
    grid_.PlaceResidents(0, 50);
    EXPECT_EQ(Kinds(), std::string(400, '.'));
}

TEST_F(Segregation, BlockCountsIncludeTheCentreAndStopAtTheEdges) {
    Grid(3, 3, "01." "1.." "..0");
    random_.SetState(0);
    grid_.SimulationStep(100);
    EXPECT_EQ(grid_.kindCounts(0, 0, 0), 1);
    EXPECT_EQ(grid_.kindCounts(0, 0, 1), 2);
    EXPECT_EQ(grid_.kindCounts(1, 1, 0), 2);
    EXPECT_EQ(grid_.kindCounts(1, 1, 1), 2);
    EXPECT_EQ(grid_.kindCounts(2, 2, 0), 1);
    EXPECT_EQ(grid_.kindCounts(2, 0, 1), 1);
}

TEST_F(Segregation, UnhappyResidentsMoveOnlyAboveTheAcceptableShare) {
    // (0,0) of kind 0 next to a kind 1: share of the other kind 1/2, facing the free (0,1).
    auto faceDown = StateWhoseDrawsAre(2, [](const std::vector<double>& d) {
        // (0,0), then (1,0), which faces outward.
        return Faces(d[0], 1) && Faces(d[1], 3);
    });
    for (const auto& [acceptable, moves] : {std::pair{100, false}, {50, false}, {49, true}, {0, true}}) {
        Grid(2, 2, "01" "..");
        random_.SetState(faceDown);
        grid_.SimulationStep(acceptable);
        EXPECT_EQ(Kinds(), moves ? ".10." : "01..") << acceptable;
    }
}

TEST_F(Segregation, ACellLeftInOneStepIsEnteredInTheNext) {
    // Step 1: (2,0) moves on to (3,0), the others face left; step 2: (1,0) moves into (2,0),
    // and (3,0) faces the edge. Each mover has a resident of the other kind beside it.
    Grid(4, 1, "101.");
    random_.SetState(StateWhoseDrawsAre(6, [](const std::vector<double>& d) {
        return Faces(d[0], 2) && Faces(d[1], 2) && Faces(d[2], 0) && Faces(d[3], 2) &&
               Faces(d[4], 0) && Faces(d[5], 0);
    }));
    grid_.SimulationStep(0);
    EXPECT_EQ(Kinds(), "10.1");
    grid_.SimulationStep(0);
    EXPECT_EQ(Kinds(), "1.01");
}

TEST_F(Segregation, ALoneResidentIsHappyEvenAtZero) {
    Grid(3, 3, "....0....");
    for (int step = 0; step < 50; ++step)
        grid_.SimulationStep(0);
    EXPECT_EQ(Kinds(), "....0....");
}

} // namespace
