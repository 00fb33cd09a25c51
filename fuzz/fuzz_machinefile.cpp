// A machine file of any content: refused, leaving a machine whose rule table is
// complete and whose head lies on the tape, or read into a machine that writes
// a file which reads back into the same file.
#include "MachineFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void CheckConsistent(const ribbonmill::TapeMachine& m) {
    const std::size_t width = static_cast<std::size_t>(m.SymbolCount()) + 1;
    if (m.Rules().size() != m.States().size() * width)
        std::abort();
    for (int row = 0; row < static_cast<int>(m.Rules().size()); ++row) {
        const ribbonmill::Rule& r = m.Rules()[static_cast<std::size_t>(row)];
        if (m.RuleIndex(r.oldState, r.oldSymbol) != row || r.Halts() != (r.newState == ribbonmill::kStop))
            std::abort();
    }
    const ribbonmill::clsTape& tape = m.Tape();
    if (tape.right != tape.left + ribbonmill::clsTape::kBoxes - 1 || tape.left < tape.LeftEnd() ||
        tape.right > tape.RightEnd() || tape.cur != tape.left + tape.curoffset ||
        tape.cur < tape.LeftEnd() || tape.cur > tape.RightEnd())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ribbonmill::TapeMachine machine;
    const bool read = ribbonmill::ReadMachine(text, machine);
    CheckConsistent(machine);
    if (!read)
        return 0;
    const std::string written = ribbonmill::MachineText(machine);
    ribbonmill::TapeMachine again;
    if (!ribbonmill::ReadMachine(written, again) || ribbonmill::MachineText(again) != written)
        std::abort();
    return 0;
}
