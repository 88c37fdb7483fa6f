// The high-score files as the tests write them.
#pragma once

#include <sys/stat.h>

#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

// The scores file: 32-bit little-endian integers, as this host holds them.
inline std::string ScoreBytes(std::vector<int32_t> s) { return {(char*)s.data(), 4 * s.size()}; }

// The names file: "A,B" is "A\r\nB\r\n".
inline std::string NameLines(std::string names)
{
    for (std::size_t at; (at = names.find(',')) != std::string::npos;) names.replace(at, 1, "\r\n");
    return names + "\r\n";
}

inline void WriteTable(const std::string& scores, const std::string& names)
{
    mkdir("data", 0755), testsupport::WriteFile("data/scores.hst", scores);
    testsupport::WriteFile("data/names.hst", names);
}
