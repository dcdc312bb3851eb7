// The four objects that live for the whole run. They are defined together
// so that they are constructed in this order, before main, and destroyed in
// the reverse order after exit; their destructors release nothing, since
// shutdownScene gives back their GL objects while the context still exists.
#include "app/settings.h"
#include "game/particles.h"
#include "gfx/stars.h"
#include "text/text_renderer.h"

TextRenderer screenText;
SceneSettings settings;
StarUniverse universeStars;
ParticleSystem particleSystem;
