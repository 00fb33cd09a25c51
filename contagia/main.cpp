#include "frmContagia.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmContagia form;
    form.show();
    return app.exec();
}
