#pragma once

#include "Network.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The network file of the Neural library, all numbers little-endian:
//
//   offset 0        8 bytes   "VTNeural"
//   offset 8        uint32    version, 1
//   offset 12       int32     L, the number of layers (2 to 7)
//   offset 16       L int32   the layer sizes, input first
//   offset 16 + 4L  doubles   every weight, in the order of Network::Weights
//
// and nothing after the last weight. A file is read only when all of it
// holds: the magic text and version, sizes a Network can have, exactly the
// announced length, and finite weights.

namespace neural {

inline constexpr std::string_view kFileMagic = "VTNeural";
inline constexpr uint32_t kFileVersion = 1;
inline constexpr size_t kFixedHeaderBytes = 16;
inline constexpr size_t kMaxHeaderBytes = kFixedHeaderBytes + 4 * Network::kMaxLayers;

// The length of the whole file announced by its first bytes (the fixed
// header and the sizes); -1 when they are too few or announce no network
// this library can make.
int64_t AnnouncedFileSize(std::span<const uint8_t> start);

// The layer sizes stored in the bytes of a whole file; nothing when the file
// is refused.
std::optional<std::vector<int32_t>> CheckNetworkFile(std::span<const uint8_t> bytes);

// The network stored in the bytes of a whole file, its weights as stored and
// its remembered changes 0; nothing when the file is refused.
std::optional<Network> ParseNetworkFile(std::span<const uint8_t> bytes);

// The file of a network.
std::vector<uint8_t> NetworkFileBytes(const Network& network);

// The bytes of the file at path when it is a regular file of the announced
// length; nothing otherwise. A file that announces no network is not read
// past its header.
std::optional<std::vector<uint8_t>> ReadNetworkFile(const char* path);

// Writes the network's file to path: written aside in the same folder,
// flushed, then renamed over path. False when any step failed or a weight is
// not finite (a file that would be refused); the aside file is then removed
// and what was at path is as it was.
bool WriteNetworkFile(const char* path, const Network& network);

} // namespace neural
