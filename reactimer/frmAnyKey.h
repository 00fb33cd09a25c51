#pragma once

#include <QDialog>

namespace platform {
class Surface;
class SurfaceLabel;
class SurfaceShape;
} // namespace platform

// The prompt before the warm-up and before each stage: one line of text in a
// framed window without a title bar, closed by any key, also one that types
// no character.
class frmAnyKey : public QDialog {
public:
    explicit frmAnyKey(QWidget* parent = nullptr);

    platform::Surface* surface = nullptr;
    platform::SurfaceLabel* lblPrompt = nullptr;
    platform::SurfaceShape* shpBord = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
