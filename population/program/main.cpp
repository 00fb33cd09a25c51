#include "BindingFailureBox.h"
#include "PopulationLibrary.h"
#include "frmCooperon.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetBindingFailureBox("Cooperon");
    platform::BindLibrary(cooperon::kPopulationLibrary);
    frmCooperon form;
    form.show();
    return app.exec();
}
