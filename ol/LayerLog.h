// "ortholayer.log": one message per line, on disk when the call returns.
#pragma once

#include <string>

namespace ol {

void WriteLog(const std::string& message);
// The message with "ERROR: " before it.
void WriteError(const std::string& message);

}  // namespace ol
