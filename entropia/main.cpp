#include "frmEntropia.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmEntropia form;
    form.show();
    return app.exec();
}
