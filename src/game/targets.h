// The alien targets and the score: what the game step moves and fights,
// and what the player status line shows.
#pragma once

struct Target {
  float x, y, z;  // recomputed every frame while alive
  float health;   // 1.0 at spawn; three laser hits destroy it
  int active;
};

constexpr int kMaxTargets = 19;

extern Target targets[kMaxTargets];
extern int targetCount;  // records 0 .. targetCount-1 take part
extern int kills;        // targets destroyed since the count last grew
