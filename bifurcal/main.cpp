#include "frmBifurcal.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmBifurcal form;
    form.show();
    return app.exec();
}
