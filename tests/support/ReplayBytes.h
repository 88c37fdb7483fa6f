// Replay files as the tests and the fuzzer make them by hand.
#pragma once

#include <zlib.h>

#include <string>

namespace testsupport {

// The bytes with their last four made the CRC-32 of the rest, so that a replay changed by hand
// passes its checksum and is judged by what it holds.
inline std::string Resealed(std::string bytes)
{
    if (bytes.size() < 4)
        return bytes;
    const std::size_t body = bytes.size() - 4;
    uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(body));
    for (std::size_t i = body; i < bytes.size(); ++i) {
        bytes[i] = static_cast<char>(crc & 0xFF);
        crc >>= 8;
    }
    return bytes;
}

}  // namespace testsupport
