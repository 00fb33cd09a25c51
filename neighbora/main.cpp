#include "frmNeighbora.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmNeighbora form;
    form.show();
    return app.exec();
}
