#include "BindingFailureBox.h"
#include "PrngLibrary.h"
#include "frmFlipwell.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetBindingFailureBox("Flipwell");
    platform::BindLibrary(platform::kPrngLibrary);
    frmFlipwell form;
    form.show();
    return app.exec();
}
