// Renders the text glyph sheet with FreeType: 16 x 8 cells of 8 x 16 pixels,
// character c (32..126) in cell c - 32, read left to right, top to bottom in
// stored row order. Glyphs are white with grey antialiased edges on black.
// Each glyph stays inside columns 2..7 and rows 2..15 of its cell, because
// the text renderer samples every cell shifted by about 1.3 pixels right and
// down and must see neither a neighbour nor a cut-off edge.
#pragma once
#include <string>

#include "image.h"

// Returns false and sets `error` if the font cannot be loaded.
bool makeFontSheet(const std::string& fontPath, Image& sheet, std::string& error);
