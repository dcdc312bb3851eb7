// The per-frame game step: the nearby regions, walking, the laser, the
// particles, the alien targets and their fire, health, deaths, kills and the
// growth of the number of targets.
#pragma once
#include "game/targets.h"

void gameStep();

// Steps of gameStep, in the order it runs them.
void drawWorld();
void fireLaser();
void updateTargets();
void updatePlayerHealth();  // manual mode: new life message or regeneration
void checkAlienHit();       // manual mode: at most one hit on the player per frame
void checkLaserHits();
