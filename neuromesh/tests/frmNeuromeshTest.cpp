// The main window: rows and scrolling, slots and modes, strokes, the pattern
// set and network commands with their files, the diagram and start-up.
#include "NeuromeshFixture.h"

#include "Color.h"
#include "Conversions.h"
#include "HelpKeyPress.h"
#include "TextBox.h"
#include "ListBox.h"
#include "PatternFile.h"
#include "SafeReplace.h"
#include "ScrollBar.h"
#include "Slider.h"
#include "SurfaceShape.h"
#include "WindowSizeChecks.h"
#include "frmNetSet.h"
#include "frmPatSet.h"
#include "frmTrain.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <fstream>

using namespace neuromesh_test;
using platform::DialogKind;
using platform::MessageIcon;
using platform::MessageResult;

namespace {

using Sizes = std::vector<int32_t>;

class Neuromesh : public NeuromeshFixture {
protected:
    // Applies names, samples and points through the settings dialog's OK.
    void Redefine(int categories, int samples = 3, int points = 10) {
        ASSERT_TRUE(WithDialog<frmPatSet>(Form().cmdPatternSet, [&](frmPatSet& d) {
            d.cmdClear->click();
            for (int c = 0; c < categories; ++c)
                d.lstPats->AddItem("c" + QString::number(c));
            d.sldSamples->SetValue(samples);
            d.sldAccuracy->SetValue(points);
            d.cmdOK->click();
        }));
    }
    int VisibleOptions() {
        int shown = 0;
        for (int c = 0; c < int(Form().optPattern.Size()); ++c)
            shown += Form().optPattern[c].isVisible();
        return shown;
    }
    int VisibleThumbnails() {
        int shown = 0;
        for (platform::Surface* p : Form().picPattern)
            shown += p->isVisible();
        return shown;
    }
    // A stroke of a wide Z, kept by any inputsize up to 20.
    std::vector<QPoint> Zigzag(int points = 30) {
        std::vector<QPoint> stroke;
        for (int i = 0; i < points; ++i)
            stroke.emplace_back(300 + 80 * i, (i / 5) % 2 ? 2500 - 40 * i : 300 + 40 * i);
        return stroke;
    }
    // Every slot of the current set drawn, saved as the file at path.
    void SaveFullSet(const fs::path& path) {
        neuromesh::PatternSet set = Form().Patterns();
        std::vector<double> v(size_t(set.Components()), 0.5);
        for (int s = 0; s < set.Slots(); ++s) {
            v[0] = 0.01 * (s + 1);
            set.SetSample(s, v);
        }
        ASSERT_TRUE(neuromesh::SavePatternFile(path, set));
    }
    QString LastMessage() const {
        return dialogs_.Requests().empty() ? QString() : dialogs_.Requests().back().text;
    }
};

TEST_F(Neuromesh, StartsWithTheDefaultSetFittedNetworkAndElevenRows) {
    EXPECT_EQ(Form().windowTitle(), "Veritope - Neuromesh");
    EXPECT_EQ(neuromesh::NetworkModel::Shape(), (Sizes{20, 25, 26}));
    EXPECT_EQ(Form().optPattern[0].text(), "a");
    EXPECT_EQ(Form().optPattern[25].text(), "z");
    EXPECT_EQ(Form().scrPats->Max(), 15);
    EXPECT_EQ(VisibleOptions(), 11);
    EXPECT_EQ(VisibleThumbnails(), 33);
    EXPECT_EQ(Form().mode, 1);
    EXPECT_EQ(Form().cursample, 0);
    EXPECT_TRUE(Form().optDefine->isChecked());
    EXPECT_TRUE(Form().shpPatSelector->IsVisible());
    EXPECT_EQ(Form().shpPatSelector->Geometry(),
              QRect(Form().ThumbnailTwips(0) - QPoint(25, 25), QSize(350, 350)));
    EXPECT_TRUE(Form().lblDiff->text().startsWith("Error: "));
    EXPECT_EQ(Form().lblDiff->text().section('.', 1).size(), 16);
}

TEST_F(Neuromesh, TheWindowKeepsRoomForItsFramesAndTheDialogsTheirSize) {
    EXPECT_TRUE(platform_test::StopsShrinkingAt(Form(), QSize(972, 361)));
    EXPECT_TRUE(WithDialog<frmPatSet>(Form().cmdPatternSet, [](frmPatSet& d) {
        EXPECT_TRUE(platform_test::KeepsItsSize(d));
        d.cmdCancel->click();
    }));
    EXPECT_TRUE(WithDialog<frmNetSet>(Form().cmdNetSet, [](frmNetSet& d) {
        EXPECT_TRUE(platform_test::KeepsItsSize(d));
        d.cmdCancel->click();
    }));
    EXPECT_TRUE(WithDialog<frmTrain>(Form().cmdTrain, [](frmTrain& d) {
        EXPECT_TRUE(platform_test::KeepsItsSize(d));
        d.cmdExit->click();
    }));
}

TEST_F(Neuromesh, ScrollBarAndRowsFollowTheNumberOfCategories) {
    Redefine(11);
    EXPECT_EQ(Form().scrPats->Max(), 0);
    EXPECT_EQ(VisibleOptions(), 11);
    Redefine(12);
    EXPECT_EQ(Form().scrPats->Max(), 1);
    EXPECT_EQ(VisibleOptions(), 11);
    Form().scrPats->SetValue(1);
    EXPECT_FALSE(Form().optPattern[0].isVisible());
    EXPECT_TRUE(Form().optPattern[11].isVisible());
    // Fewer categories and samples: the surplus controls stay, hidden.
    Redefine(3, 2);
    EXPECT_EQ(Form().optPattern.Size(), 26u);
    EXPECT_EQ(VisibleOptions(), 3);
    EXPECT_EQ(VisibleThumbnails(), 6);
    EXPECT_FALSE(Form().optPattern[3].isVisible());
    EXPECT_EQ(neuromesh::NetworkModel::Shape(), (Sizes{20, 25, 3}));
}

TEST_F(Neuromesh, SelectionAndScrollingKeepTheSelectedSlotInView) {
    // A slot below the visible rows scrolls its row into view.
    Form().SelectSampleSlot(3 * 20 + 1);
    EXPECT_EQ(Form().scrPats->Value(), 10);
    EXPECT_TRUE(Form().optPattern[20].isChecked());
    EXPECT_EQ(Form().shpPatSelector->Geometry().topLeft(),
              Form().ThumbnailTwips(61) - QPoint(25, 25));
    // Scrolling it out of view moves the selection to the last or first row.
    Form().scrPats->SetValue(0);
    EXPECT_EQ(Form().cursample, 3 * 10);
    Form().scrPats->SetValue(15);
    EXPECT_EQ(Form().cursample, 3 * 15);
    Form().picPattern_Click(4);
    EXPECT_EQ(Form().cursample, 4);
    // Recognise mode: no selector, thumbnails ignore clicks.
    Form().optRecognize->click();
    EXPECT_FALSE(Form().shpPatSelector->IsVisible());
    Form().picPattern_Click(7);
    EXPECT_EQ(Form().cursample, 4);
}

TEST_F(Neuromesh, LargeSetsKeepThumbnailsForTheRowsInViewOnly) {
    // 2000 categories of 8 two-point strokes; slot s of row r draws from
    // (0, (s mod 8) / 7) to (1, (r mod 11) / 10), so the 88 thumbnails of
    // eleven rows differ from one another, and row r looks like row r mod 11.
    constexpr int kCategories = 2000, kSamples = 8;
    neuromesh::PatternSet set;
    std::vector<std::string> names;
    for (int c = 0; c < kCategories; ++c)
        names.push_back("c" + std::to_string(c));
    ASSERT_TRUE(set.Redefine(std::move(names), kSamples, 2));
    for (int s = 0; s < set.Slots(); ++s) {
        const double v[] = {0, (s % kSamples) / 7.0, 1, (s / kSamples % 11) / 10.0};
        set.SetSample(s, v);
    }
    ASSERT_TRUE(neuromesh::SavePatternFile(folder_ / "large.pat", set));
    Form().LoadPatternFile(folder_ / "large.pat");
    ASSERT_EQ(Form().pattypes(), kCategories);
    Form().SetMode(1);

    EXPECT_EQ(Form().picPattern.size(), size_t(11 * kSamples));
    EXPECT_EQ(VisibleThumbnails(), 11 * kSamples);
    std::vector<QImage> inView;
    for (int s = 0; s < 11 * kSamples; ++s) {
        ASSERT_NE(Form().Thumbnail(s), nullptr);
        inView.push_back(Form().Thumbnail(s)->Image());
        for (int t = 0; t < s; ++t)
            ASSERT_NE(inView[size_t(s)], inView[size_t(t)]) << s << " " << t;
    }
    EXPECT_EQ(Form().Thumbnail(11 * kSamples), nullptr);

    // Scrolled, each picture shows the slot of its row now in view.
    for (const int first : {5, 1500, kCategories - 11}) {
        Form().scrPats->SetValue(first);
        EXPECT_EQ(Form().picPattern.size(), size_t(11 * kSamples));
        EXPECT_EQ(VisibleThumbnails(), 11 * kSamples);
        for (int row = first; row < first + 11; ++row)
            for (int i = 0; i < kSamples; ++i) {
                const platform::Surface* picture = Form().Thumbnail(row * kSamples + i);
                ASSERT_NE(picture, nullptr) << row;
                EXPECT_EQ(picture->Image(), inView[size_t(row % 11 * kSamples + i)]) << row;
                EXPECT_EQ(picture->geometry().topLeft(),
                          platform::TwipsRect(Form().ThumbnailTwips(row * kSamples + i).x(),
                                              Form().ThumbnailTwips(row * kSamples + i).y(), 0, 0)
                              .topLeft());
            }
        EXPECT_EQ(Form().Thumbnail(first * kSamples - 1), nullptr);
        // A click on a picture selects the slot it shows.
        Form().picPattern[9]->onMouseUp({1, 0, 100, 100});
        EXPECT_EQ(Form().cursample, first * kSamples + 9);
    }
    // A stroke drawn into a scrolled-to slot shows in its thumbnail at once.
    DrawStroke(Zigzag());
    EXPECT_NE(Form().Thumbnail((kCategories - 11) * kSamples + 9)->Image(),
              inView[size_t((kCategories - 11) % 11 * kSamples + 9)]);
}

TEST_F(Neuromesh, StrokesAreStoredInDefineModeAndDroppedWhenShortOrFlat) {
    // Fewer points than the input size, and a horizontal stroke: nothing.
    DrawStroke({{100, 100}, {400, 900}, {800, 100}});
    DrawStroke({{100, 500}, {900, 500}, {1500, 500}, {2000, 500}, {2100, 500}, {2200, 500},
                {2300, 500}, {2400, 500}, {2500, 500}, {2600, 500}, {2700, 500}});
    EXPECT_EQ(Form().cursample, 0);
    EXPECT_TRUE(Form().Patterns().SlotEmpty(0));
    const QImage blank = Form().picPattern[0]->Image();

    DrawStroke(Zigzag());
    EXPECT_FALSE(Form().Patterns().SlotEmpty(0));
    EXPECT_EQ(Form().cursample, 1);
    EXPECT_NE(Form().picPattern[0]->Image(), blank);
    EXPECT_EQ(Form().picPattern[0]->Image().pixel(1, 1) & 0xFFFFFF, blank.pixel(1, 1) & 0xFFFFFF);
    // The canvas is cleared by the selection of the next slot.
    EXPECT_EQ(Form().picCanvas->Image().pixel(20, 20), Form().picCanvas->BackColor().rgb());
    // After the last slot comes slot 0.
    Form().SelectSampleSlot(77);
    DrawStroke(Zigzag());
    EXPECT_EQ(Form().cursample, 0);
}

TEST_F(Neuromesh, PatternSetsGoThroughTheirFilesAndMessages) {
    const fs::path file = folder_ / "set.pat";
    DrawStroke(Zigzag());
    dialogs_.AnswerFile(QString::fromStdString(file.string()));
    Form().cmdSave->click();
    const neuromesh::PatternSet saved = Form().Patterns();
    // Overwrite asked, No leaves the file.
    const auto size = fs::file_size(file);
    dialogs_.AnswerFile(QString::fromStdString(file.string()));
    dialogs_.AnswerMessage(MessageResult::No);
    Form().cmdSave->click();
    EXPECT_EQ(dialogs_.Requests().back().title, "Save pattern set");
    EXPECT_EQ(LastMessage(), "File exists. Overwrite?");
    EXPECT_EQ(dialogs_.Requests().back().icon, MessageIcon::None);
    EXPECT_EQ(fs::file_size(file), size);

    Redefine(4);
    dialogs_.AnswerFile(QString::fromStdString(file.string()));
    Form().cmdLoad->click();
    EXPECT_EQ(Form().Patterns(), saved);
    EXPECT_EQ(Form().mode, 1); // slots left empty
    EXPECT_EQ(neuromesh::NetworkModel::Shape(), (Sizes{20, 25, 26}));

    // A damaged file changes nothing.
    {
        std::ofstream out(folder_ / "bad.pat", std::ios::binary);
        out << "\x02\x00\x01";
    }
    dialogs_.AnswerFile(QString::fromStdString((folder_ / "bad.pat").string()));
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().cmdLoad->click();
    EXPECT_EQ(LastMessage(), "Error opening file");
    EXPECT_EQ(dialogs_.Requests().back().title, "Load pattern file");
    EXPECT_EQ(Form().Patterns(), saved);
    // Cancelling the dialog does nothing.
    dialogs_.AnswerFile("");
    Form().cmdLoad->click();

    // A set with every slot drawn opens in recognise mode.
    SaveFullSet(folder_ / "full.pat");
    dialogs_.AnswerFile(QString::fromStdString((folder_ / "full.pat").string()));
    Form().cmdLoad->click();
    EXPECT_EQ(Form().mode, 2);
    EXPECT_TRUE(Form().optRecognize->isChecked());
}

TEST_F(Neuromesh, RecognitionShowsBarsAndSelectsTheBestCategory) {
    SaveFullSet(folder_ / "full.pat");
    Form().LoadPatternFile(folder_ / "full.pat");
    ASSERT_EQ(Form().mode, 2);
    DrawStroke(Zigzag());
    ASSERT_TRUE(Form().barsshown);
    const std::vector<double>& out = Form().Network().outputvec;
    const int best = int(std::max_element(out.begin(), out.end()) - out.begin());
    EXPECT_TRUE(Form().optPattern[best].isChecked());
    EXPECT_GE(Form().scrPats->Value(), best - 10);
    EXPECT_LE(Form().scrPats->Value(), best);
    const platform::SurfaceShape& bar = *Form().shpBar[size_t(best)];
    EXPECT_TRUE(bar.IsVisible());
    EXPECT_EQ(bar.Width(), int(platform::RoundHalfEven(out[size_t(best)] * Form().maxbarwidth)));
    // The drawn stroke stays on the canvas in red until the next press.
    bool red = false;
    const QImage canvas = Form().picCanvas->Image();
    for (int y = 0; y < canvas.height() && !red; ++y)
        for (int x = 0; x < canvas.width() && !red; ++x)
            red = (canvas.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
    EXPECT_TRUE(red);
    // Hiding the bars in recognise mode clears the categories' options.
    Form().ShowBars(false);
    EXPECT_FALSE(bar.IsVisible());
    EXPECT_FALSE(Form().optPattern[best].isChecked());
}

TEST_F(Neuromesh, NetworkFilesAreCheckedAgainstThePatternSetInputFirst) {
    const fs::path file = folder_ / "n.net";
    dialogs_.AnswerFile(QString::fromStdString(file.string()));
    Form().cmdSaveNet->click();
    ASSERT_TRUE(fs::exists(file));
    Redefine(5, 3, 4);
    dialogs_.AnswerFile(QString::fromStdString(file.string()));
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().cmdLoadNet->click();
    EXPECT_EQ(LastMessage(), "This network's input size is 20 while current pattern set requires "
                             "8.\r\nEdit pattern parameters first.");
    EXPECT_EQ(dialogs_.Requests().back().title, "Load neural network");
    EXPECT_EQ(dialogs_.Requests().back().icon, MessageIcon::Critical);
    Redefine(5);
    dialogs_.AnswerFile(QString::fromStdString(file.string()));
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().cmdLoadNet->click();
    EXPECT_EQ(LastMessage(), "This network's output size is 26 while current pattern set requires "
                             "5.\r\nEdit pattern parameters first.");
    EXPECT_EQ(neuromesh::NetworkModel::Shape(), (Sizes{20, 25, 5}));
    Redefine(26);
    dialogs_.AnswerFile(QString::fromStdString(file.string()));
    Form().cmdLoadNet->click();
    EXPECT_EQ(neuromesh::NetworkModel::Shape(), (Sizes{20, 25, 26}));

    std::ofstream(folder_ / "bad.net") << "VTNeural";
    dialogs_.AnswerFile(QString::fromStdString((folder_ / "bad.net").string()));
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().cmdLoadNet->click();
    EXPECT_EQ(LastMessage(), "Error opening file");
    // Saving over a file asks first.
    dialogs_.AnswerFile(QString::fromStdString(file.string()));
    dialogs_.AnswerMessage(MessageResult::No);
    Form().cmdSaveNet->click();
    EXPECT_EQ(dialogs_.Requests().back().title, "Save neural network");
}

TEST_F(Neuromesh, RecentFilesCarryTheWorkToTheNextStartPatternSetFirst) {
    ASSERT_TRUE(WithDialog<frmNetSet>(Form().cmdNetSet, [](frmNetSet& d) {
        d.sldHidden->SetValue(2);
        d.sldLayerSize[1]->SetValue(7);
        d.sldLayerSize[2]->SetValue(9);
        d.cmdOK->click();
    }));
    DrawStroke(Zigzag());
    const neuromesh::PatternSet drawn = Form().Patterns();
    const QImage thumbnail = Form().Thumbnail(0)->Image();
    const QImage diagram = Form().picNet->Image();
    Open();
    EXPECT_EQ(Form().Patterns(), drawn);
    // Thumbnails and diagram drawn at start-up before the window showed are
    // there whole once it shows.
    EXPECT_EQ(Form().Thumbnail(0)->Image(), thumbnail);
    EXPECT_EQ(Form().picNet->Image(), diagram);
    EXPECT_EQ(neuromesh::NetworkModel::Shape(), (Sizes{20, 7, 9, 26}));
    // Without the recent pattern set the recent network is not loaded.
    form_.reset();
    fs::remove(folder_ / frmNeuromesh::kRecentPatternSet);
    Open();
    EXPECT_EQ(neuromesh::NetworkModel::Shape(), (Sizes{20, 25, 26}));
    EXPECT_TRUE(Form().Patterns().SlotEmpty(0));
}

TEST_F(Neuromesh, DiagramDrawsTheLayersAndAnimatesTheHighlight) {
    platform::Surface& net = *Form().picNet;
    EXPECT_EQ(net.BackColor(), QColor(Qt::white));
    // The red arrow below the input layer, the green one above the output.
    const int w = net.ScaleWidth(), h = net.ScaleHeight();
    const double dy = h / 5.0, r = std::min(w / 28.0, dy) / 2;
    const int below = int(h / 2 + 3.5 * dy / 2 + r), above = int(h / 2 - 3.5 * dy / 2 + r);
    EXPECT_EQ(net.Image().pixel(w / 2, below) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(net.Image().pixel(w / 2, above) & 0xFFFFFF, 0x00FF00u);
    // The output node in the middle, yellow when the animation marks it.
    const QPoint outputNode(int(w / 2 + 0.5 * w / 28.0), int(h / 2 - dy));
    EXPECT_EQ(net.Image().pixel(outputNode) & 0xFFFFFF, 0x00FF00u);
    Form().marked = 4;
    Form().timAnim->SetEnabled(true);
    Form().timAnim->Tick();
    EXPECT_EQ(net.Image().pixel(outputNode) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(Form().marked, 3);
    Form().marked = 0;
    Form().timAnim->Tick();
    EXPECT_EQ(Form().marked, 9);
    Form().timAnim->SetEnabled(false);

    // No network: an empty area of the button face.
    neuromesh::Finalize_();
    Form().DrawNetwork();
    EXPECT_EQ(net.Image().pixel(w / 2, h / 2),
              platform::ToQColor(platform::kButtonFaceColor).rgb());
    neuromesh::Initialize_();
    Form().FitNetworkToPatterns();
}

TEST_F(Neuromesh, DesignDialogShowsOnlyInputAndOutputWithoutHiddenLayers) {
    ASSERT_TRUE(WithDialog<frmNetSet>(Form().cmdNetSet, [](frmNetSet& d) {
        EXPECT_EQ(d.sldHidden->Value(), 1);
        EXPECT_EQ(d.lblSizeExact[1]->text(), "25");
        d.sldHidden->SetValue(0);
        EXPECT_EQ(d.lblLayerSize[1]->text(), "Nodes in layer 1 (output)");
        EXPECT_FALSE(d.sldLayerSize[0]->isEnabled());
        EXPECT_FALSE(d.sldLayerSize[1]->isEnabled());
        EXPECT_TRUE(d.sldLayerSize[1]->isVisible());
        EXPECT_FALSE(d.sldLayerSize[2]->isVisible());
        EXPECT_EQ(d.lblSizeExact[1]->text(), "26");
        EXPECT_EQ(d.cmdOK->y(), d.framLayerSizes->geometry().bottom() + 1 +
                                     platform::TwipsToPixels(200));
        d.cmdOK->click();
    }));
    EXPECT_EQ(neuromesh::NetworkModel::Shape(), (Sizes{20, 26}));
    // Cancel keeps the network.
    ASSERT_TRUE(WithDialog<frmNetSet>(Form().cmdNetSet, [](frmNetSet& d) {
        d.sldHidden->SetValue(3);
        EXPECT_TRUE(d.sldLayerSize[3]->isEnabled());
        d.cmdCancel->click();
    }));
    EXPECT_EQ(neuromesh::NetworkModel::Shape(), (Sizes{20, 26}));
    // More categories than the output row's slider holds: the set's size.
    Redefine(101);
    ASSERT_TRUE(WithDialog<frmNetSet>(Form().cmdNetSet, [](frmNetSet& d) {
        EXPECT_EQ(d.sldLayerSize[1]->Value(), 100);
        EXPECT_EQ(d.lblSizeExact[1]->text(), "101");
        d.cmdOK->click();
    }));
    EXPECT_EQ(neuromesh::NetworkModel::Shape(), (Sizes{20, 101}));
}

TEST_F(Neuromesh, DesignDialogRowsAddedByTheKeysShowTheirSliderValue) {
    ASSERT_TRUE(WithDialog<frmNetSet>(Form().cmdNetSet, [](frmNetSet& d) {
        QTest::keyClick(d.sldHidden, Qt::Key_Right);
        QTest::keyClick(d.sldHidden, Qt::Key_End);
        EXPECT_EQ(d.lblHidExact->text(), "5");
        for (int i = 0; i <= 6; ++i) {
            SCOPED_TRACE(i);
            EXPECT_TRUE(d.lblSizeExact[size_t(i)]->isVisible());
            EXPECT_EQ(d.lblLayerSize[size_t(i)]->text().left(16),
                      "Nodes in layer " + QString::number(i));
            const int shown = i == 0 ? 20 : i == 6 ? 26 : d.sldLayerSize[size_t(i)]->Value();
            EXPECT_EQ(d.lblSizeExact[size_t(i)]->text(), QString::number(shown));
        }
        EXPECT_EQ(d.lblSizeExact[4]->text(), "25");
        d.cmdOK->click();
    }));
    EXPECT_EQ(neuromesh::NetworkModel::Shape(), (Sizes{20, 25, 26, 26, 25, 25, 26}));
}

TEST_F(Neuromesh, SettingsDialogEditsTheListAndOkEmptiesEverySlot) {
    DrawStroke(Zigzag());
    ASSERT_FALSE(Form().Patterns().SlotEmpty(0));
    ASSERT_TRUE(WithDialog<frmPatSet>(Form().cmdPatternSet, [&](frmPatSet& d) {
        EXPECT_EQ(d.lstPats->ListCount(), 26);
        EXPECT_EQ(d.lblSamplesExact->text(), "3");
        EXPECT_EQ(d.lblAccExact->text(), "10 points");
        EXPECT_FALSE(d.cmdAdd->isEnabled());
        d.txtName->setText(QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
        EXPECT_TRUE(d.cmdAdd->isEnabled());
        d.cmdAdd->click();
        EXPECT_EQ(d.lstPats->ListIndex(), 26);
        EXPECT_TRUE(d.txtName->text().isEmpty());
        d.lstPats->ClickItem(0);
        EXPECT_TRUE(d.cmdRemove->isEnabled());
        d.cmdRemove->click();
        EXPECT_EQ(d.lstPats->ListCount(), 26);
        d.cmdCancel->click();
    }));
    EXPECT_FALSE(Form().Patterns().SlotEmpty(0));
    // OK with nothing changed still empties every slot.
    ASSERT_TRUE(WithDialog<frmPatSet>(Form().cmdPatternSet, [](frmPatSet& d) {
        d.cmdOK->click();
    }));
    EXPECT_TRUE(Form().Patterns().SlotEmpty(0));
    EXPECT_EQ(Form().mode, 1);
    // An empty list is refused by OK, and keeps the focus but for Cancel.
    dialogs_.AnswerMessage(MessageResult::Ok);
    dialogs_.AnswerMessage(MessageResult::Ok);
    ASSERT_TRUE(WithDialog<frmPatSet>(Form().cmdPatternSet, [](frmPatSet& d) {
        QApplication::setActiveWindow(&d);
        d.lstPats->setFocus();
        d.cmdClear->click();
        d.txtName->setFocus();
        EXPECT_TRUE(d.lstPats->hasFocus());
        d.cmdOK->setFocus();
        d.cmdOK->click();
        EXPECT_TRUE(d.isVisible());
        d.cmdCancel->setFocus();
        d.cmdCancel->click();
    }));
    EXPECT_EQ(dialogs_.Requests().size(), 2u);
    EXPECT_EQ(dialogs_.Requests().back().title, "Edit oattern settings");
    EXPECT_EQ(LastMessage(), "You must define at least one pattern");
    EXPECT_EQ(Form().pattypes(), 26);
    // Closing the window while the dialog is open closes the dialog first,
    // changing nothing, then the window.
    ASSERT_TRUE(WithDialog<frmPatSet>(Form().cmdPatternSet, [&](frmPatSet& d) {
        d.cmdClear->click();
        Form().close();
        EXPECT_FALSE(d.isVisible());
        EXPECT_TRUE(Form().isVisible());
    }));
    QApplication::processEvents();
    EXPECT_FALSE(Form().isVisible());
    EXPECT_EQ(Form().pattypes(), 26);
}

TEST_F(Neuromesh, FailedSavesReportAndKeepThePreviousFiles) {
    const fs::path set = folder_ / "set.pat";
    Form().SavePatternFile(set);
    const auto size = fs::file_size(set);
    DrawStroke(Zigzag());
    {
        platform::SafeReplaceWriteLimit full(40);
        dialogs_.AnswerMessage(MessageResult::Ok);
        Form().SavePatternFile(set);
    }
    EXPECT_EQ(LastMessage(), "Error saving file");
    EXPECT_EQ(dialogs_.Requests().back().title, "Save pattern file");
    EXPECT_EQ(fs::file_size(set), size);
    dialogs_.AnswerMessage(MessageResult::Ok);
    Form().SaveNetworkFile(folder_ / "missing" / "n.net");
    EXPECT_EQ(dialogs_.Requests().back().title, "Save neural network");
    EXPECT_EQ(LastMessage(), "Error saving file");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(Neuromesh, F1OpensTheProgramsHelpPage) {
    EXPECT_EQ(platform_test::HelpPagesOnF1(Form()), std::vector<QString>{frmNeuromesh::kHelpTopic});
}

} // namespace
