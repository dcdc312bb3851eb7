// The spotlight that lights the targets: set up at start and on reset,
// recoloured and swung about the world origin every unpaused frame.
#pragma once

constexpr int kMaxLights = 8;

void setupLights(int count, float ambientLevel, float specularLevel);
// Runs with the model-view matrix mode current; places light i on a sphere of
// radius `distance` about the origin of the current model-view, pointing at it.
void updateLights(int count, float ambientFactor, float diffuseFactor, float specularFactor,
                  float level, float distance);
