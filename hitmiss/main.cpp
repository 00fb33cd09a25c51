#include "frmHitmiss.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmHitmiss form;
    form.show();
    return app.exec();
}
