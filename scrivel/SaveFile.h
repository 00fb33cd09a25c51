#pragma once

#include <filesystem>
#include <string_view>

// Every file Scrivel writes goes through here: the bytes are written aside in the
// target's folder and renamed over the target only when written whole, so that a
// failed save leaves the previous file as it was and no partial file behind.

namespace scrivel {

bool SaveFileBytes(const std::filesystem::path& path, std::string_view bytes);

} // namespace scrivel
