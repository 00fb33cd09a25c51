#pragma once

#include <filesystem>
#include <functional>

// Replacing a file safely: the new content is written aside in the target's
// folder and renamed over the target only when it was written whole, so that
// a failed save leaves the previous file as it was and no partial file behind.

namespace neuromesh {

// Calls write with a path beside target that names no file yet; when write
// gives true, renames that file over target. False when write or the rename
// failed; whatever write left at the aside path is then removed.
bool ReplaceFile(const std::filesystem::path& target,
                 const std::function<bool(const std::filesystem::path& aside)>& write);

} // namespace neuromesh
