// Start-up loading of the pictures into their users: the font and particle
// textures, the world's draw callbacks and the emitter values; and of the
// two sounds.
#pragma once

// Loads the six textures into the set, hands them to their users, installs the
// world's draw callbacks and sets the particle emitters' values.
void loadResources();
// Starts loading the two sound effects from the data folders (platform/sound).
void startSoundEffects();
