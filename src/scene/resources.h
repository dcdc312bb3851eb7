// Start-up loading of the pictures into their users: the font and particle
// textures, the world's draw callbacks and the emitter values.
#pragma once

// Loads the six textures into the set, hands them to their users, installs the
// world's draw callbacks and sets the particle emitters' values.
void loadResources();
