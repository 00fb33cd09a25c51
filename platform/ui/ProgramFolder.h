#pragma once

#include <filesystem>

namespace platform {

// The folder of the running executable ("the program's own folder"), or the
// folder a test has set in its place.
std::filesystem::path ProgramFolder();

// For tests: makes ProgramFolder give `folder`, so that files a program reads
// and writes in its own folder go to a test's folder; an empty path restores
// the executable's folder.
void SetProgramFolder(const std::filesystem::path& folder);

} // namespace platform
