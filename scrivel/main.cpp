#include "frmScrivel.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmScrivel form;
    form.show();
    return app.exec();
}
