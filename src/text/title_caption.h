// The product name over the scene in the first ten seconds: shaking on two
// oscillator channels, jolted now and then, fading out.
#pragma once
#include <cstdint>

void drawTitleCaption(const char* text, int16_t x, int16_t y, float size, float alpha);
