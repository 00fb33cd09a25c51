#include "frmAnyKey.h"

#include "Surface.h"

#include <QKeyEvent>

frmAnyKey::frmAnyKey(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setWindowTitle("Reactimer");
    surface = new platform::Surface(this);
    surface->SetScaleMode(platform::Surface::ScaleMode::Twips);
    setFixedSize(surface->ToPixels(4005), surface->ToPixels(495));
    surface->setGeometry(0, 0, width(), height());
    lblPrompt = &surface->AddLabel();
    lblPrompt->SetAlignment(platform::SurfaceLabel::Alignment::Center);
    lblPrompt->SetGeometry(0, 120, 4005, 300);
    lblPrompt->SetText("Label1");
    shpBord = &surface->AddShape();
    shpBord->SetGeometry(0, 0, 4000, 500);
}

void frmAnyKey::keyPressEvent(QKeyEvent*) {
    accept();
}
