// Writes 16-bit mono PCM samples as a RIFF/WAVE file.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Returns false if the file cannot be written completely.
bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int sampleRate);
