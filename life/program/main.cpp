#include "Activation.h"
#include "frmLifeboard.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 1;
    {
        frmLifeboard form;
        if (form.Loaded()) {
            form.show();
            status = app.exec();
        }
    }
    com::CoFreeUnusedLibraries();
    return status;
}
