// frmCodetree: the tree view: painting, the hover hint, selection by mouse, zoom
// and the scroll bars.

#include "Color.h"
#include "Conversions.h"
#include "ScrollBar.h"
#include "Surface.h"
#include "frmCodetree.h"

#include <QPointF>

namespace {

QRgb ToRgb(uint32_t colour) {
    return platform::ToQColor(colour).rgb();
}

const QString kLineEnd = QStringLiteral("\r\n");

} // namespace

// Draws the laid-out forest on the window's surface.
class frmCodetree::CanvasPainter final : public codetree::TreePainter {
public:
    explicit CanvasPainter(frmCodetree& form)
        : form_(form), surface_(*form.surface), foreground_(ToRgb(platform::kButtonTextColor)) {}

    void Edge(codetree::EdgeSide side, int childX, int childY, int parentX, int parentY) override {
        surface_.SetPen(ToRgb(side == codetree::EdgeSide::Left ? codetree::kBlue : codetree::kRed));
        surface_.Line(QPoint(childX, childY), QPoint(parentX, parentY));
    }

    void Node(const codetree::clsNode& node, int x, int y) override {
        const codetree::CodeForest& forest = form_.forest_;
        const double radius = form_.view_.radius;
        const QPointF centre(x, y);
        // The halo clears the ends of the lines around the node.
        if (&node == forest.Selection()) {
            surface_.SetBrush(ToRgb(codetree::NodeColour(forest, nullptr)));
            surface_.SetPen(foreground_);
        } else {
            surface_.SetBrush(ToRgb(codetree::kWhite));
            surface_.SetPen(ToRgb(codetree::kWhite));
        }
        surface_.Circle(centre, 1.2 * radius);
        surface_.SetBrush(ToRgb(codetree::NodeColour(forest, &node)));
        surface_.SetPen(foreground_);
        surface_.Circle(centre, radius);
        if (!node.IsLeaf())
            return;
        const QString text = form_.LabelText(node.chars);
        const int cw = surface_.TextWidth(text);
        const int ch = surface_.TextHeight(text);
        if (cw < 2 * radius && ch < 2 * radius) {
            surface_.Print(QPoint(static_cast<int>(platform::RoundHalfEven(x - cw / 2.0)),
                                  static_cast<int>(platform::RoundHalfEven(y - ch / 2.0))),
                           text);
        }
    }

private:
    frmCodetree& form_;
    platform::Surface& surface_;
    QRgb foreground_;
};

void frmCodetree::Repaint() {
    surface->Refresh();
}

void frmCodetree::Form_Paint() {
    // The canvas is white; what spills past its right and lower edges lies under the
    // scroll bars and the corner shape.
    surface->Clear();
    // While a file is read the forest is the operation's; it is drawn once it is done.
    if (opening_ || forest_.Size() == 0 || view_.canvasWidth <= 0 || view_.canvasHeight <= 0)
        return;
    if (codetree::LayOut(forest_, view_))
        SyncScrollBars();
    CanvasPainter painter(*this);
    codetree::DrawForest(forest_, view_, painter);
}

void frmCodetree::Form_MouseMove(int x, int y) {
    const codetree::clsNode* old = hovered_;
    float fx = static_cast<float>(x);
    float fy = static_cast<float>(y);
    hovered_ = codetree::HitTest(forest_, view_, fx, fy);
    if (hovered_ == old)
        return;
    if (hovered_ == nullptr) {
        lblHint->SetVisible(false);
        return;
    }
    const codetree::clsNode& node = *hovered_;
    const bool fileMode = forest_.FileMode();
    QString text;
    if (node.IsLeaf()) {
        text = "Leaf" + kLineEnd + (fileMode ? "Character:" : "Result:") + LabelText(node.chars) +
               kLineEnd + (fileMode ? "Occurences:" : "Probability:") + FormatValue(node.weight);
    } else if (fileMode) {
        text = "Internal node" + kLineEnd + "Characters:" + LabelText(node.chars) + kLineEnd +
               "Total occurences:" + FormatValue(node.weight);
    } else {
        text = "Internal node" + kLineEnd + "Question:" + LabelText(node.left->chars) + " or " +
               LabelText(node.right->chars) + kLineEnd +
               "Total probability:" + FormatValue(node.weight);
    }
    lblHint->SetText(text);
    const int cx = static_cast<int>(fx);
    const int cy = static_cast<int>(fy);
    const int w = lblHint->Width();
    const int h = lblHint->Height();
    int left = cx + 5;
    if (left + w > view_.canvasLeft + view_.canvasWidth)
        left = cx - 5 - w;
    if (left < view_.canvasLeft)
        left = view_.canvasLeft;
    int top = cy + 5;
    if (top + h > view_.canvasTop + view_.canvasHeight)
        top = cy - 5 - h;
    lblHint->Move(left, top);
    lblHint->SetVisible(true);
}

void frmCodetree::Form_MouseDown(int x, int y) {
    if (!forest_.History().empty() || forest_.FileMode())
        return;
    float fx = static_cast<float>(x);
    float fy = static_cast<float>(y);
    const codetree::clsNode* hit = codetree::HitTest(forest_, view_, fx, fy);
    if (hit == forest_.Selection())
        return;
    forest_.SetSelection(hit);
    UpdateControls();
    Repaint();
}

void frmCodetree::ForgetHover() {
    hovered_ = nullptr;
    lblHint->SetVisible(false);
}

void frmCodetree::ZoomTree(int delta) {
    codetree::ZoomTree(view_, static_cast<int16_t>(delta));
    SyncScrollBars();
}

void frmCodetree::ResetView() {
    view_.zoom = 1;
    view_.minZoom = 1;
    view_.scrollX = 0;
    view_.scrollY = 0;
    view_.scrollMaxX = 0;
    view_.scrollMaxY = 0;
    SyncScrollBars();
}

void frmCodetree::SyncScrollBars() {
    syncingBars_ = true;
    ScrH->SetMax(view_.scrollMaxX);
    ScrH->SetValue(view_.scrollX);
    ScrV->SetMax(view_.scrollMaxY);
    ScrV->SetValue(view_.scrollY);
    syncingBars_ = false;
}

void frmCodetree::ScrH_Change(int value) {
    if (syncingBars_)
        return;
    view_.scrollX = value;
    Repaint();
}

void frmCodetree::ScrV_Change(int value) {
    if (syncingBars_)
        return;
    view_.scrollY = value;
    Repaint();
}
