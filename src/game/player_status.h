// The health and target lines near the bottom of the window in manual
// camera mode; the health line turns red when health is low.
#pragma once

void drawPlayerStatus();
