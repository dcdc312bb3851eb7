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

// Marks where a pass begins: what follows, up to the next mark, reaches the
// picture only if the pass is not left out.
void beginPass(DrawPass pass);
