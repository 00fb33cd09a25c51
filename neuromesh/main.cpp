#include "BindingFailureBox.h"
#include "LibraryBinding.h"
#include "NeuralLibrary.h"
#include "frmNeuromesh.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    platform::SetBindingFailureBox("Neuromesh");
    platform::BindLibrary(neuromesh::kNeuralLibrary);
    frmNeuromesh form;
    form.show();
    return app.exec();
}
