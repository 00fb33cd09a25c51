#include "LibraryBinding.h"
#include "frmCooperon.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetBindingFailureHandler(frmCooperon::ShowBindingFailure);
    frmCooperon form;
    form.show();
    return app.exec();
}
