#include "BindingFailureBox.h"
#include "frmPegfall.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // A missing library or entry stops the program at the first draw, with its message.
    platform::SetBindingFailureBox("Pegfall");
    frmPegfall form;
    form.show();
    return app.exec();
}
