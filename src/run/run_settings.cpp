#include "run/run_settings.h"

#include <cinttypes>
#include <cstdio>
#include <fstream>

#include "core/fnv_hash.h"
#include "core/random.h"
#include "core/run_state.h"
#include "platform/data_files.h"

const RunSettingField kRunSettingFields[] = {
    {"full-screen", "--window", 0, 1, &RunSettings::fullScreen},
    {"window-width", "--window", 1, kMaxWindowEdge, &RunSettings::windowWidth},
    {"window-height", "--window", 1, kMaxWindowEdge, &RunSettings::windowHeight},
    {"fps", "--fps", 0, kMaxFramesPerSecond, &RunSettings::framesPerSecond},
    {"seed", "--seed", 0, UINT32_MAX, &RunSettings::seed},
};
const int kRunSettingFieldCount = sizeof kRunSettingFields / sizeof kRunSettingFields[0];

RunSettingMask runSettingBit(uint32_t RunSettings::*value) {
  for (int i = 0; i < kRunSettingFieldCount; ++i) {
    if (kRunSettingFields[i].value == value) return 1u << i;
  }
  return 0;
}

RunSettings restoredSettings(const RunSettings& recorded, RunSettingMask held,
                             const RunSettings& asked) {
  RunSettings settings = asked;
  for (int i = 0; i < kRunSettingFieldCount; ++i) {
    const RunSettingField& field = kRunSettingFields[i];
    if ((held & (1u << i)) != 0) settings.*field.value = recorded.*field.value;
  }
  settings.startMs = recorded.startMs;
  for (int i = 0; i < kPictureFileCount; ++i) settings.pictures[i] = recorded.pictures[i];
  return settings;
}

void readPictureIdentities(RunSettings* settings) {
  for (int i = 0; i < kPictureFileCount; ++i) {
    DataFileIdentity& identity = settings->pictures[i];
    identity = DataFileIdentity{};
    std::ifstream in(findDataFile(kPictureFiles[i]), std::ios::binary);
    if (!in) continue;
    identity.found = true;
    identity.hash = kFnvOffsetBasis;
    char block[4096];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
      const auto got = static_cast<size_t>(in.gcount());
      identity.size += got;
      identity.hash = fnvHash(identity.hash, block, got);
    }
  }
}

void applyRunSettings(const RunSettings& settings) {
  fullScreen = static_cast<int>(settings.fullScreen);
  windowedWidth = static_cast<int>(settings.windowWidth);
  windowedHeight = static_cast<int>(settings.windowHeight);
  setRunSeed(settings.seed);
}

std::string settingConflict(const RunSettings& recorded, RunSettingMask held,
                            const RunSettings& asked, RunSettingMask given) {
  for (int i = 0; i < kRunSettingFieldCount; ++i) {
    const RunSettingField& field = kRunSettingFields[i];
    const bool both = (held & given & (1u << i)) != 0;
    if (!both || recorded.*field.value == asked.*field.value) continue;
    char line[160];
    std::snprintf(line, sizeof line, "the run was recorded with %s %" PRIu32 ", but %s asks for %" PRIu32,
                  field.name, recorded.*field.value, field.option, asked.*field.value);
    return line;
  }
  return "";
}

std::string pictureDifferences(const RunSettings& recorded, const RunSettings& now) {
  std::string lines;
  for (int i = 0; i < kPictureFileCount; ++i) {
    const DataFileIdentity& a = recorded.pictures[i];
    const DataFileIdentity& b = now.pictures[i];
    const bool alike = a.found == b.found && (!a.found || (a.size == b.size && a.hash == b.hash));
    if (alike) continue;
    lines += std::string(kPictureFiles[i]) +
             (b.found ? " differs from the one the run was recorded with"
                      : " is missing; the run was recorded with it") +
             "; the picture may differ\n";
  }
  return lines;
}
