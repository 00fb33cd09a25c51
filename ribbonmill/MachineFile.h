#pragma once

#include "TapeMachine.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// Machine files (".qmx"): single-byte text, one record of comma-separated
// fields per line, lines ended by CR LF, texts between double quotes:
//   one record per state; "STOP"; the current state; N as text; the head's
//   offset from the window's first cell, a number;
//   one record per tape cell from the left end: a flag ("C" for the head's
//   cell, else "X"; then "L" for the window's first cell, "R" for its last,
//   else "X") and the symbol in long form; "E","E";
//   one record per rule in table order: old state, old symbol, new symbol,
//   direction, new state, as the rule table shows them; "E","E","E","E","E".
//
// Reading is strict, so that a machine read is one the program could have
// written: distinct states, the current state listed, N from 0 to 10, at most
// the cells of a full tape, exactly one head, first and last window cell, the
// last 19 cells after the first and the head `curoffset` cells from it, and
// the complete rule table in table order (a missing, doubled or extra row
// refuses the file at that row) with directions "Left" and "Right" to a listed
// state or "STOP" twice, and written symbols below N. A state named "E" does
// not end the rules: only the five "E" fields do.

namespace ribbonmill {

// The file's bytes.
std::string MachineText(const TapeMachine& machine);

// Reads a whole file's text into the machine, stage by stage: its states (the
// current state "STOP", no rules), its current state, N, its tape, its rules.
// False for a damaged file: what was read until the damage stays (the tape only
// once it was read whole; before that a new blank one), and the rule table is
// completed, so the machine stays usable.
bool ReadMachine(std::string_view text, TapeMachine& machine);

enum class LoadResult { Loaded, Unopened, Damaged };

// The largest machine file read: its text is held whole while it is read, and
// the tape it describes besides. Larger files, named pipes and devices are not
// opened.
constexpr std::uint64_t kMaxMachineFileBytes = std::uint64_t{1} << 30;

// Writes the machine through the safe replace: a file that cannot be written
// whole leaves the previous one as it was. False on failure.
bool SaveMachine(const std::filesystem::path& path, const TapeMachine& machine);
// Unopened leaves the machine as it was; Damaged as ReadMachine does.
LoadResult LoadMachine(const std::filesystem::path& path, TapeMachine& machine);

} // namespace ribbonmill
