#include "frmLeadigit.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    frmLeadigit form;
    form.show();
    return app.exec();
}
