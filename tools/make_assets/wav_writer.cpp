// RIFF/WAVE output: a 16-byte PCM "fmt " chunk and one "data" chunk, all
// fields little-endian whatever the host.
#include "wav_writer.h"

#include <fstream>

#include "little_endian.h"

namespace {

constexpr uint32_t kFmtChunkSize = 16;
constexpr uint16_t kPcmFormat = 1;
constexpr uint16_t kChannels = 1;
constexpr uint16_t kBitsPerSample = 16;
constexpr uint16_t kBytesPerFrame = kChannels * kBitsPerSample / 8;
// "WAVE" + fmt chunk (8 + 16) + data chunk header (8).
constexpr uint32_t kRiffOverhead = 4 + 8 + kFmtChunkSize + 8;

void putTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int sampleRate) {
  const uint32_t dataBytes = samples.size() * kBytesPerFrame;

  std::vector<uint8_t> out;
  putTag(out, "RIFF");
  put32(out, kRiffOverhead + dataBytes);
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  put32(out, kFmtChunkSize);
  put16(out, kPcmFormat);
  put16(out, kChannels);
  put32(out, sampleRate);
  put32(out, sampleRate * kBytesPerFrame);
  put16(out, kBytesPerFrame);
  put16(out, kBitsPerSample);
  putTag(out, "data");
  put32(out, dataBytes);
  for (int16_t s : samples) put16(out, static_cast<uint16_t>(s));

  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.data()), out.size());
  file.close();
  return static_cast<bool>(file);
}
