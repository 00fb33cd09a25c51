#include "frmCodetree.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmCodetree form;
    form.show();
    return app.exec();
}
