#include "frmRibbonmill.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmRibbonmill form;
    form.show();
    return app.exec();
}
