#pragma once

#include <filesystem>

namespace platform {

// The folder of the running executable ("the program's own folder").
std::filesystem::path ProgramFolder();

} // namespace platform
