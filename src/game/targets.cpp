#include "game/targets.h"

Target targets[kMaxTargets] = {};
int targetCount = 1;
int kills = 0;
