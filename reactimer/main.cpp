#include "frmReactimer.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmReactimer form;
    form.show();
    return app.exec();
}
