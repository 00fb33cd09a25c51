#include "BindingFailureBox.h"
#include "PrngLibrary.h"
#include "frmChordwise.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetBindingFailureBox("Chordwise");
    platform::BindLibrary(platform::kPrngLibrary);
    frmChordwise form;
    form.show();
    return app.exec();
}
