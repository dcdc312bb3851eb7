// Appends integers to a byte buffer in little-endian order, the byte order
// of both BMP and WAV headers, independent of the host.
#pragma once
#include <cstdint>
#include <vector>

inline void put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(v & 0xff);
  out.push_back(v >> 8);
}

inline void put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back((v >> shift) & 0xff);
}
