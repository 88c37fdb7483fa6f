// "ortholayer.log": one message per line, on disk when the call returns.
#pragma once

#include <string>

namespace ol {

void WriteLog(const std::string& message);
// The message with "ERROR: " before it.
void WriteError(const std::string& message);
// From now on nothing is written to the log: for runs that must leave the
// player's files as they found them.
void SilenceLog();

}  // namespace ol
