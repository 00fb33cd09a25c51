// frmLifeboard: reading and writing life pattern files.

#include "Dialogs.h"
#include "LifePatternFile.h"
#include "ToolBar.h"
#include "frmLifeboard.h"

namespace {

constexpr const char* kTitle = "Lifeboard";

platform::FileRequest LifeFileRequest() {
    platform::FileRequest request;
    request.filter = "Life files (*.lif, *.life)|*.lif;*.life|All files|*.*";
    return request;
}

void Fail(const char* message) {
    platform::MessageBox(message, kTitle, platform::MessageIcon::Critical);
}

} // namespace

// What a reader reads goes straight to the window and its engine, so that
// the cells and rule read before an error stay.
class frmLifeboard::PatternSink final : public lifeboard::PatternTarget {
public:
    explicit PatternSink(frmLifeboard& form) : form_(form) {}
    void SetNeiCount(int16_t n) override { form_.SetNeiCount(n); }
    void SetRuleS(int16_t k, int16_t value) override { form_.SetRuleS(k, value); }
    void SetRuleB(int16_t k, int16_t value) override { form_.SetRuleB(k, value); }
    void SetNegative() override { form_.negative = true; }
    void SetCell(int32_t x, int32_t y) override { form_.engine_->put_Cell(x, y, 1); }

private:
    frmLifeboard& form_;
};

void frmLifeboard::ApplyRuleLine(std::string_view line) {
    PatternSink sink(*this);
    lifeboard::ApplyRuleLine(sink, line, neiCount_);
}

void frmLifeboard::OpenLifeFile() {
    const QString path = platform::OpenFileDialog(LifeFileRequest());
    if (path.isEmpty())
        return;
    ClearBoard();
    SetNeiCount(8);
    negative = false;
    flips_.Clear();
    ApplyRuleLine("#N");

    PatternSink sink(*this);
    const lifeboard::PatternReadResult read =
        lifeboard::ReadPatternFile(path.toStdString(), sink, neiCount_);
    switch (read.status) {
    case lifeboard::PatternStatus::kOk:
        break;
    case lifeboard::PatternStatus::kOpenError:
        Fail("Error opening file. File is not accessible.");
        break;
    case lifeboard::PatternStatus::kFormatError:
        Fail("Error reading file. This format is not supported.");
        break;
    case lifeboard::PatternStatus::kReadError:
        Fail("Error reading file. File may be corrupt.");
        break;
    }
    if (read.status != lifeboard::PatternStatus::kOk || !read.bounds) {
        // What was read stays; show it as it is.
        Repaint();
        UpdateBackButtons();
        return;
    }
    const auto fitted =
        lifeboard::FitView(BoardWidth(), BoardHeight(), BoardArea().top, *read.bounds, Lattice());
    if (!fitted) {
        Fail("Error adjusting viewpoint. File may contain invalid data.");
        Repaint();
        return;
    }
    view_ = *fitted;
    Repaint();
    generation_ = 1;
    ShowGeneration();
    UpdateBackButtons();
}

void frmLifeboard::SaveLifeFile() {
    const QString path = platform::SaveFileDialog(LifeFileRequest());
    if (path.isEmpty())
        return;
    engine_->StartIterating();
    const lifeboard::CellSource cells = [this](int32_t& x, int32_t& y) {
        int16_t ok = 0;
        engine_->NextCell(&x, &y, &ok);
        return ok == 1;
    };
    switch (
        lifeboard::WritePatternFile(path.toStdString(), neiCount_, negative, EngineRule(), cells)) {
    case lifeboard::PatternWriteStatus::kOk:
        break;
    case lifeboard::PatternWriteStatus::kOpenError:
        Fail("Error opening file for writing. File does not exist or access is denied.");
        break;
    case lifeboard::PatternWriteStatus::kWriteError:
        Fail("Error writing to file.");
        break;
    }
}
