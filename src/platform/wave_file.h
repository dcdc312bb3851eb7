// The check a sound file passes before it is decoded: a regular file of the
// size of a short effect that starts as a RIFF WAVE. Anything else is
// refused with no more read than its header.
#pragma once
#include <cstdint>
#include <vector>

// The whole file into bytes when it passes; false when it does not.
bool readWaveFile(const char* path, std::vector<uint8_t>& bytes);
