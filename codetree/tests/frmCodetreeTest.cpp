#include "frmCodetree.h"

#include "CodetreeFixture.h"
#include "HelpKeyPress.h"
#include "ScrollBar.h"
#include "StatusBar.h"
#include "SurfaceLabel.h"
#include "WindowSizeChecks.h"
#include "dlgWait.h"
#include "frmFile.h"
#include "frmNodes.h"
#include "frmReport.h"

#include <QAction>
#include <cmath>

namespace {

const QColor kWhite(255, 255, 255);
const QColor kCyan(0, 255, 255);
const QColor kMagenta(255, 0, 255);
const QColor kYellow(255, 255, 0);
const QColor kOrange(255, 128, 0);
const QColor kHintBack(255, 255, 128);

class Codetree : public codetree_test::CodetreeFixture {
protected:
    QString Panel(const char* key) { return Form().sbStatusBar->PanelText(key); }
    // Whether the colour is drawn on the row within a pixel of x.
    bool DrawnNear(QPoint p, const QColor& colour) {
        for (int dx = -1; dx <= 1; ++dx)
            if (DrawnAt(p + QPoint(dx, 0)) == colour)
                return true;
        return false;
    }
};

TEST_F(Codetree, StartsEmptyWithItsToolbarAndPanels) {
    EXPECT_EQ(Form().windowTitle(), "Veritope - Codetree");
    QStringList layout;
    for (QAction* action : Form().tlbToolBar->actions())
        layout << (action->isSeparator() ? "|" : action->objectName() + "=" + action->toolTip());
    EXPECT_EQ(layout.join(" "), "New=New Open=Open Save=Save | Reset=Reset StepBack=Step back "
                                "Step=Step CreateTree=Create tree | ZoomIn=Zoom in "
                                "ZoomOut=Zoom out | Help=Help | Exit=Exit");
    for (const char* key : {"Save", "Reset", "StepBack", "Step", "CreateTree", "ZoomIn", "ZoomOut"})
        EXPECT_FALSE(Enabled(key)) << key;
    for (const char* key : {"New", "Open", "Help", "Exit"})
        EXPECT_TRUE(Enabled(key)) << key;
    EXPECT_EQ(Panel("Sum"), "Sum: 0");
    EXPECT_EQ(Panel("Entropy"), "Information: 0");
    EXPECT_EQ(Panel("Average"), "Average: 0");
    EXPECT_EQ(DrawnAt({400, 300}), kWhite);

    Form().tlbToolBar->Click("Help");
    EXPECT_EQ(helpPages_, std::vector<QString>{"codetree.htm"});
}

TEST_F(Codetree, TheCanvasFollowsTheWindowTheToolbarStaysWholeAndTheDialogsKeepTheirSize) {
    EXPECT_TRUE(platform_test::KeepsEveryToolButton(Form(), *Form().tlbToolBar));
    for (QWidget* dialog :
         {static_cast<QWidget*>(&Form().Nodes()), static_cast<QWidget*>(&Form().File()),
          static_cast<QWidget*>(&Form().Wait()), static_cast<QWidget*>(&Form().Report())})
        EXPECT_TRUE(platform_test::KeepsItsSize(*dialog)) << dialog->windowTitle().toStdString();
}

TEST_F(Codetree, CommandsFollowTheForest) {
    // Expected enabled states: Reset/StepBack, Step/CreateTree, ZoomIn, ZoomOut, frmNodes.
    const struct {
        const char* command; // a toolbar key, or "+w" to add the weight w
        bool back, step, zoomIn, zoomOut, nodes;
        const char* average;
    } rows[] = {
        {"+1", false, false, false, false, true, "Average: 0"},
        {"+1", false, true, false, false, true, "Average: 0"},
        {"+2", false, true, false, false, true, "Average: 0"}, // one level: units at 100
        {"Step", true, true, true, false, false, "Average: 2"},
        {"CreateTree", true, false, true, false, false, "Average: 6"},
        {"ZoomIn", true, false, false, true, false, "Average: 6"}, // levels reach 100
        {"ZoomOut", true, false, true, false, false, "Average: 6"},
        {"StepBack", true, true, true, false, false, "Average: 2"},
        {"Reset", false, true, false, false, true, "Average: 0"},
        {"New", false, false, false, false, true, "Average: 0"},
    };
    for (const auto& r : rows) {
        const std::string command = r.command;
        if (command[0] == '+')
            Form().Add(std::stod(command.substr(1)));
        else
            Form().tlbToolBar->Click(r.command);
        EXPECT_EQ(Enabled("Reset"), r.back) << command;
        EXPECT_EQ(Enabled("StepBack"), r.back) << command;
        EXPECT_EQ(Enabled("Step"), r.step) << command;
        EXPECT_EQ(Enabled("CreateTree"), r.step) << command;
        EXPECT_EQ(Enabled("ZoomIn"), r.zoomIn) << command;
        EXPECT_EQ(Enabled("ZoomOut"), r.zoomOut) << command;
        EXPECT_FALSE(Enabled("Save")) << command;
        EXPECT_EQ(Form().Nodes().isVisible(), r.nodes) << command;
        EXPECT_EQ(Panel("Average"), r.average) << command;
        EXPECT_EQ(Form().ScrH->isEnabled(), Form().View().zoom >= 2) << command;
        if (command == "ZoomIn") {
            const int width = Form().View().canvasWidth;
            EXPECT_EQ(Form().ScrH->Max(), width);
            EXPECT_EQ(Form().ScrH->Value(), static_cast<int>(std::nearbyint(width / 2.0)));
        }
        if (command == "Reset") {
            for (int i = 1; i <= 3; ++i)
                EXPECT_EQ(Form().Forest().Tree(i).chars, std::to_string(i));
        }
    }
    EXPECT_EQ(Panel("Sum"), "Sum: 0");
}

TEST_F(Codetree, AWideForestRaisesTheZoomWhenPainted) {
    for (int i = 0; i < 500; ++i)
        Form().Add(1);
    const codetree::TreeView& v = Form().View();
    const int zoom = (2 * 999 + 2) / v.canvasWidth + 1;
    EXPECT_EQ(v.zoom, zoom);
    EXPECT_EQ(Form().ScrH->Max(), (zoom - 1) * v.canvasWidth);
    EXPECT_EQ(Form().ScrH->Value(), Form().ScrH->Max() / 2);
    EXPECT_FALSE(Enabled("ZoomOut"));
    // Scrolling repaints: the first leaf, too small for its label, comes into view.
    const QImage before = Form().surface->Image();
    Form().ScrH->SetValue(0);
    EXPECT_NE(Form().surface->Image(), before);
    EXPECT_EQ(v.scrollX, 0);
    EXPECT_EQ(DrawnAt(LeafCentre(1)), kCyan);
}

TEST_F(Codetree, PaintShowsLeavesSelectionEdgesAndTheHint) {
    Form().Add(1);
    Form().Add(4);
    const codetree::TreeView& v = Form().View();
    const QPoint first = LeafCentre(1), second = LeafCentre(2);
    const QPoint belowLabel(0, 2 * v.radius / 3);
    EXPECT_EQ(DrawnAt(first + belowLabel), kCyan);
    EXPECT_EQ(DrawnAt(second + belowLabel), kMagenta);
    EXPECT_EQ(DrawnAt(first + QPoint(v.radius + 3, 0)), kWhite); // the halo
    bool label = false; // "1" is printed in the foreground colour inside the circle
    for (int dx = -6; dx <= 6; ++dx)
        for (int dy = -8; dy <= 8; ++dy)
            label = label || DrawnAt(first + QPoint(dx, dy)) == QColor(Qt::black);
    EXPECT_TRUE(label);

    QTest::mouseClick(Form().surface, Qt::LeftButton, {}, OnSurface(second));
    EXPECT_EQ(DrawnAt(second + belowLabel), kYellow);
    EXPECT_EQ(DrawnAt(second + QPoint(v.radius + 3, 0)), kOrange);

    // The hint opens right of and below the node's centre; it is shown, not drawn.
    platform::SurfaceLabel& hint = *Form().lblHint;
    EXPECT_FALSE(hint.IsVisible());
    QTest::mouseMove(Form().surface, OnSurface(first + QPoint(3, -2)));
    ASSERT_TRUE(hint.IsVisible());
    EXPECT_EQ(hint.Text(), "Leaf\r\nResult:1\r\nProbability:1");
    EXPECT_EQ(hint.Geometry().topLeft(), first + QPoint(5, 5));
    const QPoint corner = hint.Geometry().bottomRight();
    EXPECT_EQ(ShownAt(corner), kHintBack);
    EXPECT_NE(DrawnAt(corner), kHintBack);
    QTest::mouseMove(Form().surface, OnSurface(first + QPoint(v.unitX, 0)));
    EXPECT_FALSE(hint.IsVisible());

    Form().tlbToolBar->Click("Step");
    const QPoint root(v.originX + 3 * v.unitX - v.scrollX + v.canvasLeft,
                      v.originY + v.unitY - v.scrollY + v.canvasTop);
    const QPoint left = root + QPoint(-2 * v.unitX, 2 * v.unitY);
    const QPoint right = root + QPoint(2 * v.unitX, 2 * v.unitY);
    EXPECT_EQ(DrawnAt(root + belowLabel), kWhite);
    EXPECT_TRUE(DrawnNear((root + left) / 2, QColor(0, 0, 255)));
    EXPECT_TRUE(DrawnNear((root + right) / 2, QColor(255, 0, 0)));
    QTest::mouseMove(Form().surface, OnSurface(root));
    EXPECT_EQ(hint.Text(), "Internal node\r\nQuestion:1 or 2\r\nTotal probability:5");
}

TEST_F(Codetree, FormatValueAndLabelText) {
    const struct {
        double x;
        const char* text;
    } values[] = {
        {0, "0"},
        {1234, "1,234"},
        {0.25, "0.25"},
        {1E-20, "0."},
        {10, "10"},
        {-2.5, "-2.5"},
        {1234567.125, "1,234,567.125"},
        {1.0 / 3, "0.3333333333333333"},
        {-7, "-7"},
    };
    for (const auto& v : values)
        EXPECT_EQ(frmCodetree::FormatValue(v.x), v.text) << v.x;

    EXPECT_EQ(Form().LabelText("1, 2"), "1, 2");
    Open(WriteFile("bytes", " A\xC8"));
    ASSERT_TRUE(Form().Forest().FileMode());
    EXPECT_EQ(Form().LabelText(" A\xC8"), "SP, A, [200]");
    EXPECT_EQ(Form().LabelText(std::string("\r\n\0\t\x14\x15~\x7F", 8)),
              "CR, LF, NL, TB, [20], \x15, ~, [127]");
}

TEST_F(Codetree, StatusTextsInFileMode) {
    Open(WriteFile("abb.txt", "abb"));
    EXPECT_EQ(Panel("Sum"), "Characters: 3");
    // 3 x the entropy of 1/3, 2/3: 3 log2 3 - 2 bits.
    EXPECT_EQ(Panel("Entropy"), "Information: 2.7548875021634687");
    EXPECT_EQ(Panel("Average"), "Bits: 0");
    EXPECT_TRUE(Enabled("Save"));
    EXPECT_EQ(Form().tlbToolBar->Action("Save")->toolTip(), "Save compressed");
    EXPECT_FALSE(Form().Nodes().isVisible());
    // The mouse selects nothing in file mode.
    QTest::mouseClick(Form().surface, Qt::LeftButton, {}, OnSurface(LeafCentre(1)));
    EXPECT_EQ(Form().Forest().Selection(), nullptr);
    QTest::mouseMove(Form().surface, OnSurface(LeafCentre(2)));
    EXPECT_EQ(Form().lblHint->Text(), "Leaf\r\nCharacter:b\r\nOccurences:2");

    Form().tlbToolBar->Click("Save"); // completes the tree first
    EXPECT_EQ(Form().Forest().Size(), 1);
    EXPECT_EQ(Panel("Average"), "Bits: 3");
    Form().tlbToolBar->Click("New");
    EXPECT_EQ(Panel("Sum"), "Sum: 0");
    EXPECT_FALSE(Enabled("Save"));
    EXPECT_TRUE(Form().Nodes().isVisible());
}

TEST_F(Codetree, F1OpensTheProgramsHelpPage) {
    EXPECT_EQ(platform_test::HelpPagesOnF1(Form()), std::vector<QString>{frmCodetree::kHelpTopic});
}

} // namespace
