#include "BindingFailureBox.h"
#include "PrngLibrary.h"
#include "frmCointoss.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetBindingFailureBox("Cointoss");
    platform::BindLibrary(platform::kPrngLibrary);
    frmCointoss form;
    form.show();
    return app.exec();
}
