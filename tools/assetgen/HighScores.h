// The five-place high-score table the game ships with.
#pragma once
#include <string>

namespace assetgen {

// Writes scores.hst (five little-endian 32-bit scores, best first) and names.hst (one name a
// line, each ended by CR LF) into the data directory.
bool WriteHighScores(const std::string& dataDir);

}  // namespace assetgen
