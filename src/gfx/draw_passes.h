// The passes a frame draws in, and leaving some of them out to see what each
// costs. A pass left out still runs all its code, random draws and particle
// emission included, so the simulation goes on exactly as in a whole frame;
// only the GL work of rasterising it is dropped: from its mark to the next,
// GL discards every primitive and clear before they reach a pixel.
#pragma once

enum class DrawPass { Clear, Stars, World, Targets, Particles, Overlays };
constexpr int kDrawPasses = 6;

// The pass's name as the command line writes it ("clear", "stars", "world",
// "targets", "particles", "overlays").
const char* drawPassName(DrawPass pass);
// Reads a comma-separated list of pass names into a set of bits (1 << pass);
// false for an empty list or an unknown name.
bool parseDrawPasses(const char* list, unsigned* passes);

// The passes left out, one bit each (1 << pass); 0 draws every pass.
extern unsigned passesLeftOut;

// While set, each mark first hands GL what was drawn before it (glFlush).
// For the first frame, in which GL compiles the state of each pass as it
// first meets it, on this thread: a renderer that draws on threads of its
// own (Mesa's software one) draws the passes before meanwhile, instead of
// all of them at the swap. Set at start; runFrame clears it after the first
// frame, since later frames meet compiled state and gain nothing from it.
extern bool flushBetweenPasses;

// Marks where a pass begins: what follows, up to the next mark, reaches the
// picture only if the pass is not left out.
void beginPass(DrawPass pass);
// While set, every pass is left out, whatever passesLeftOut says: for the
// steps of the world that are run but not shown.
void leaveOutEveryPass(bool every);
