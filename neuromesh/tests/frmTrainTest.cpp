// The training dialog: its sliders and labels, the error chart filling and
// scrolling with its scale, and the training loop with its stop steps,
// however it is stopped.
#include "NeuromeshFixture.h"

#include "PatternFile.h"
#include "Pump.h"
#include "Slider.h"
#include "SurfacePolyline.h"
#include "frmTrain.h"

#include <QLabel>
#include <QLocale>
#include <QPushButton>

using namespace neuromesh_test;

namespace {

class Training : public NeuromeshFixture {
protected:
    void TearDown() override {
        platform::SetDoEventsHook(nullptr);
        NeuromeshFixture::TearDown();
    }
    bool WithTraining(const std::function<void(frmTrain&)>& body) {
        return WithDialog<frmTrain>(Form().cmdTrain, body);
    }
    // Every slot drawn: a different slanted stroke per category.
    void DrawEverySlot() {
        neuromesh::PatternSet set = Form().Patterns();
        std::vector<double> v(size_t(set.Components()));
        for (int s = 0; s < set.Slots(); ++s) {
            for (size_t i = 0; i < v.size(); ++i)
                v[i] = double((i * 7 + size_t(set.CategoryOf(s)) * 3) % 11) / 10;
            set.SetSample(s, v);
        }
        ASSERT_TRUE(neuromesh::SavePatternFile(folder_ / "full.pat", set));
        Form().LoadPatternFile(folder_ / "full.pat");
    }
    // Runs training from Start; at the start of epoch n (from 1) calls
    // during(n), until it returns true.
    void Train(frmTrain& d, const std::function<bool(int)>& during) {
        int epoch = 0;
        bool done = false;
        platform::SetDoEventsHook([&] {
            if (!done)
                done = during(++epoch);
        });
        d.cmdGo->click();
        platform::SetDoEventsHook(nullptr);
    }
    static std::vector<double> Shown(const frmTrain& d) {
        const auto shown = d.Chart().Shown();
        return {shown.begin(), shown.end()};
    }
};

TEST_F(Training, SlidersAndLabelsStartAtTheirDesign) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English));
    ASSERT_TRUE(WithTraining([](frmTrain& d) {
        EXPECT_EQ(d.windowTitle(), "Network training progress");
        EXPECT_EQ(d.cmdGo->text(), "Start training");
        EXPECT_EQ(d.lblEta->text(), "25%");
        EXPECT_EQ(d.lblMomentumValue->text(), "50%");
        EXPECT_EQ(d.lblBumpVal->text(), "0.1");
        EXPECT_TRUE(d.lblCurErr->text().startsWith("Error: "));
        EXPECT_EQ(d.Chart().errcount(), -1);
        d.sldEta->SetValue(30);
        d.sldEta->SetValue(25);
        d.sldMomentum->SetValue(90);
        d.sldBump->SetValue(35);
        EXPECT_EQ(d.lblEta->text(), "25 %");
        EXPECT_EQ(d.lblMomentumValue->text(), "90 %");
        EXPECT_EQ(d.lblBumpVal->text(), "0.35");
        EXPECT_DOUBLE_EQ(d.Rates().eta, 0.25);
        EXPECT_DOUBLE_EQ(d.Rates().momentum, 0.9);
        d.cmdExit->click();
    }));
    QLocale::setDefault(before);
}

TEST_F(Training, ChartFillsTwoHundredAndOneSegmentsThenScrollsWithItsScale) {
    ASSERT_TRUE(WithTraining([](frmTrain& d) {
        d.AddErrorPoint(1);
        EXPECT_EQ(d.linErr->Points().size(), 1u); // a start, no segment yet
        // The scale grows at once: the largest value one eleventh below the top.
        d.AddErrorPoint(4);
        EXPECT_DOUBLE_EQ(d.linErr->Points()[1].y(), 500 + 2505 - 2505 / 1.1 - 20);
        EXPECT_DOUBLE_EQ(d.linErr->Points()[0].y(), d.ErrorToY(1));
        // Smaller values while filling leave it.
        for (int k = 2; k < 202; ++k)
            d.AddErrorPoint(1);
        EXPECT_EQ(d.Chart().errcount(), 201);
        EXPECT_DOUBLE_EQ(d.Chart().maxerr(), 4);
        ASSERT_EQ(d.linErr->Points().size(), 202u);
        EXPECT_DOUBLE_EQ(d.linErr->Points()[0].x(), 220);
        EXPECT_DOUBLE_EQ(d.linErr->Points()[201].x(), 5200);
        // Full: one value in, the oldest out; the 4 is still shown.
        d.AddErrorPoint(1.5);
        EXPECT_EQ(d.linErr->Points().size(), 202u);
        EXPECT_DOUBLE_EQ(d.Chart().Shown()[0], 4);
        EXPECT_DOUBLE_EQ(d.Chart().Shown()[201], 1.5);
        EXPECT_DOUBLE_EQ(d.Chart().maxerr(), 4);
        // Once it scrolls out, the largest shown value is below half the scale.
        d.AddErrorPoint(1);
        EXPECT_DOUBLE_EQ(d.Chart().maxerr(), 1.5);
        EXPECT_DOUBLE_EQ(d.linErr->Points()[200].y(), 500 + 2505 - 2505 / 1.1 - 20);
        // Reset weights: an empty chart and the new error as its first value.
        d.cmdRnd->click();
        EXPECT_EQ(d.Chart().errcount(), 0);
        d.cmdExit->click();
    }));
}

TEST_F(Training, TrainingLowersTheErrorAndPauseAddsTheFinalErrorTwice) {
    DrawEverySlot();
    ASSERT_TRUE(WithTraining([&](frmTrain& d) {
        Train(d, [&](int epoch) {
            if (epoch == 1) {
                EXPECT_EQ(d.cmdGo->text(), "Pause training");
                EXPECT_TRUE(Form().timAnim->Enabled());
                EXPECT_EQ(Form().marked, 6);
            }
            if (epoch < 40)
                return false;
            d.cmdGo->click();
            return true;
        });
        const std::vector<double> shown = Shown(d);
        ASSERT_EQ(shown.size(), 42u);
        EXPECT_LT(shown[39], 0.8 * shown[0]);
        EXPECT_EQ(shown[40], shown[41]);
        EXPECT_DOUBLE_EQ(shown[41], Form().UpdateError());
        EXPECT_EQ(d.cmdGo->text(), "Start training");
        EXPECT_FALSE(Form().timAnim->Enabled());
        EXPECT_EQ(Form().marked, -100);
        EXPECT_EQ(Form().lblDiff->text(), d.lblCurErr->text());
        d.cmdExit->click();
    }));
}

TEST_F(Training, SlidersAreReadForEverySampleAndBumpsChangeTheError) {
    DrawEverySlot();
    ASSERT_TRUE(WithTraining([&](frmTrain& d) {
        // No rate and no momentum from the third epoch on: nothing changes.
        Train(d, [&](int epoch) {
            if (epoch == 2) {
                d.sldEta->SetValue(0);
                d.sldMomentum->SetValue(0);
            }
            if (epoch < 5)
                return false;
            d.cmdGo->click();
            return true;
        });
        const std::vector<double> shown = Shown(d);
        ASSERT_EQ(shown.size(), 7u);
        EXPECT_NE(shown[0], shown[1]);
        EXPECT_EQ(shown[2], shown[3]);
        EXPECT_EQ(shown[3], shown[4]);
        d.sldBump->SetValue(50);
        d.cmdBump->click();
        EXPECT_EQ(d.Chart().errcount(), 7);
        EXPECT_NE(Shown(d).back(), shown.back());
        d.cmdExit->click();
    }));
}

TEST_F(Training, ClosingWhileTrainingEndsTheLoopWithItsStopStepsOnce) {
    ASSERT_TRUE(WithTraining([&](frmTrain& d) {
        Train(d, [&](int epoch) {
            if (epoch < 3)
                return false;
            d.close();
            return true;
        });
        EXPECT_FALSE(d.isVisible());
        EXPECT_FALSE(d.Training());
        EXPECT_EQ(Shown(d).size(), 4u);
        EXPECT_EQ(Form().marked, -100);
        EXPECT_FALSE(Form().timAnim->Enabled());
    }));
    // The main window closed during training closes once the dialog is done,
    // writing the recent files.
    ASSERT_TRUE(WithTraining([&](frmTrain& d) {
        Train(d, [&](int epoch) {
            if (epoch < 2)
                return false;
            Form().close();
            return true;
        });
        EXPECT_FALSE(d.isVisible());
    }));
    QApplication::processEvents();
    EXPECT_FALSE(Form().isVisible());
    EXPECT_TRUE(fs::exists(folder_ / frmNeuromesh::kRecentNetwork));
}

} // namespace
