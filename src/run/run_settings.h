// Everything that shapes a run besides its input, as one value: full screen
// or a window and the window's size, the frame cap, the start clock, the
// random seed, and which pictures it draws with. The command line fills it,
// a replay log's header records it and a replay restores it, so a run is
// exactly its settings plus its input.
//
// A new setting that the log must carry is a field here and a row of the
// table in run_settings.cpp; the log's header, the replay's restore and the
// check of the command line against a log follow from the table.
#pragma once
#include <cstdint>
#include <string>

#include "core/run_state.h"
#include "gfx/textures.h"

constexpr int kMaxFramesPerSecond = 1000;
constexpr int kMaxWindowEdge = 16384;

struct DataFileIdentity {
  bool found = false;
  uint64_t size = 0;
  uint64_t hash = 0;  // FNV-1a of the file's bytes
};

struct RunSettings {
  uint32_t fullScreen = 1;              // 0: start in a window
  uint32_t windowWidth = kWindowedSize;  // the window's size out of full screen
  uint32_t windowHeight = kWindowedSize;
  uint32_t framesPerSecond = 0;  // frame cap; 0 for none
  uint32_t seed = 0;             // added to every seed taken from the clock
  uint64_t startMs = 0;          // the clock reading at start
  DataFileIdentity pictures[kPictureFileCount];
};

// The numeric settings, one row each: the name in the log's header, the
// option that sets it, its range and its field.
struct RunSettingField {
  const char* name;
  const char* option;
  uint32_t min;
  uint32_t max;
  uint32_t RunSettings::*value;
};
extern const RunSettingField kRunSettingFields[];
extern const int kRunSettingFieldCount;
using RunSettingMask = unsigned;  // bit i: kRunSettingFields[i]
// The bit of the field `value` in a mask.
RunSettingMask runSettingBit(uint32_t RunSettings::*value);

// The pictures' identities, as the data folders hold them now.
void readPictureIdentities(RunSettings* settings);

// The settings of a replay: those the log holds, the rest as asked.
RunSettings restoredSettings(const RunSettings& recorded, RunSettingMask held,
                             const RunSettings& asked);

// Puts the settings in force for the run about to start: the window mode and
// size that key F returns to, and the seed.
void applyRunSettings(const RunSettings& settings);

// The first of the settings in `given` whose value in `asked` differs from
// `recorded` (and that `recorded` holds), as one line naming both values;
// empty when they agree.
std::string settingConflict(const RunSettings& recorded, RunSettingMask held,
                            const RunSettings& asked, RunSettingMask given);
// One line for each picture that differs from the recorded one; empty when
// all are alike.
std::string pictureDifferences(const RunSettings& recorded, const RunSettings& now);
