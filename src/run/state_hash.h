// A hash of the whole simulation state: the random generator, the frame
// clock, the oscillator bank, the run state and the input state, the
// settings, the player and the camera path, the particle pool, the targets
// and the score. Two runs that hash alike after the same frame are in the
// same state. The window's size and mode are left out: they change the
// picture, not the simulation, so machines with different screens agree.
#pragma once
#include <cstdint>

uint64_t simulationStateHash();
