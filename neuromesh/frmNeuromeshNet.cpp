// frmNeuromesh: the network fitted to the pattern set, its error, its design
// dialog and its files.

#include "frmNeuromesh.h"

#include "Dialogs.h"
#include "NumberFormat.h"
#include "Slider.h"
#include "frmNetSet.h"

#include <QFile>
#include <QLabel>
#include <system_error>

namespace {

const platform::FileRequest kNetworkFiles{"", "Neuromesh network files (*.net)|*.net", "net", "",
                                          "", false};

std::filesystem::path FilePath(const QString& name) {
    return std::filesystem::path(QFile::encodeName(name).toStdString());
}

} // namespace

void frmNeuromesh::ShowError(double error) {
    lblDiff->setText("Error: " + platform::FormatFixedUngrouped(error, 16));
}

double frmNeuromesh::UpdateError() {
    const double error = net_.UpdateError(patset_);
    ShowError(error);
    return error;
}

void frmNeuromesh::FitNetworkToPatterns() {
    ShowError(net_.FitNetworkToPatterns(patset_));
    DrawNetwork();
}

void frmNeuromesh::cmdNetSet_Click() {
    frmNetSet dialog(*this);
    const std::vector<int32_t> sizes = neuromesh::NetworkModel::Shape();
    const int layers = int(sizes.size());
    dialog.ins = int16_t(patset_.Components());
    dialog.outs = int16_t(patset_.pattypes());
    dialog.sldHidden->SetValue(layers - 2);
    dialog.sldHidden_Change();
    for (int i = 1; i <= layers - 2; ++i)
        dialog.sldLayerSize[size_t(i)]->SetValue(sizes[size_t(i)]);
    for (int i = 0; i < layers; ++i)
        dialog.sldLayerSize_Change(i);
    ShowDialog(dialog);
}

void frmNeuromesh::UpdateNetworkDesign(const frmNetSet& dialog) {
    const int hidden = dialog.sldHidden->Value();
    std::vector<int32_t> sizes;
    for (int i = 1; i <= hidden; ++i)
        sizes.push_back(dialog.sldLayerSize[size_t(i)]->Value());
    // The input and output sizes are the pattern set's, also where more
    // categories than the output row's slider holds are in use.
    ShowError(net_.UpdateNetworkDesign(sizes, patset_));
    DrawNetwork();
    ShowBars(false);
}

void frmNeuromesh::cmdLoadNet_Click() {
    platform::FileRequest request = kNetworkFiles;
    request.title = "Load network";
    const QString name = platform::OpenFileDialog(request);
    if (name.isEmpty())
        return;
    LoadNetworkFile(FilePath(name));
}

void frmNeuromesh::cmdSaveNet_Click() {
    platform::FileRequest request = kNetworkFiles;
    request.title = "Save network";
    const QString name = platform::SaveFileDialog(request);
    if (name.isEmpty())
        return;
    std::error_code error;
    if (std::filesystem::exists(FilePath(name), error) &&
        platform::MessageBox("File exists. Overwrite?", "Save neural network",
                             platform::MessageIcon::None,
                             platform::MessageButtons::YesNo) != platform::MessageResult::Yes)
        return;
    SaveNetworkFile(FilePath(name));
}

void frmNeuromesh::LoadNetworkFile(const std::filesystem::path& path) {
    const neuromesh::NetworkLoad load = net_.LoadNetworkFile(path, patset_);
    if (load.outcome != neuromesh::NetworkLoad::Outcome::kLoaded) {
        platform::MessageBox(QString::fromStdString(load.message), "Load neural network",
                             platform::MessageIcon::Critical);
        return;
    }
    DrawNetwork();
    UpdateError();
    ShowBars(false);
}

void frmNeuromesh::SaveNetworkFile(const std::filesystem::path& path) {
    if (!net_.SaveNetworkFile(path))
        platform::MessageBox("Error saving file", "Save neural network",
                             platform::MessageIcon::Critical);
}
