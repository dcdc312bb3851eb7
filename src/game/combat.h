// The per-frame game step: the nearby regions, walking, the laser, the
// particles, the alien targets and their fire, health, deaths, kills and the
// growth of the number of targets.
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

void gameStep();

// Steps of gameStep, in the order it runs them.
void drawWorld();
void fireLaser();
void updateTargets();
void updatePlayerHealth();  // manual mode: new life message or regeneration
void checkAlienHit();       // manual mode: at most one hit on the player per frame
void checkLaserHits();
