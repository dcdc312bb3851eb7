// Glyph sheet rendering. The pixel size is deliberately taller than wide so
// the monospaced glyphs fill the narrow 6 x 14 box each cell allows.
#include "font_sheet.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>

namespace {

constexpr int kSheetSize = 128;
constexpr int kCellWidth = 8;
constexpr int kCellHeight = 16;
constexpr int kColumns = kSheetSize / kCellWidth;
constexpr int kFirstChar = 32;
constexpr int kLastChar = 126;

// The box inside a cell that may hold ink; the cell's first two columns and
// rows stay black.
constexpr int kBoxLeft = 2;
constexpr int kBoxTop = 2;
constexpr int kBoxRight = kCellWidth;    // exclusive
constexpr int kBoxBottom = kCellHeight;  // exclusive

constexpr int kPixelWidth = 10;
constexpr int kPixelHeight = 14;
// Row of the cell the baseline sits on (the first row below capitals):
// capitals then start at row 3, ascenders at row 2, descenders end at row 15.
constexpr int kBaselineRow = 13;
// Extra stem width in 26.6 units; at 6 pixels wide even the bold face
// reads thin once the text is magnified with linear filtering.
constexpr FT_Pos kEmbolden26_6 = 12;
// The underscore's stroke is thinner than a pixel at this size and, drawn
// magnified with linear filtering, fades to a faint grey; a pixel more height
// makes it two rows as solid as the hyphen.
constexpr FT_Pos kUnderscoreThickening26_6 = 64;

// Centre of the box in 26.6 fixed point, where glyph ink is centred.
constexpr FT_Pos kBoxCentre26_6 = (kBoxLeft + kBoxRight) * 64 / 2;

class FreeTypeFace {
 public:
  ~FreeTypeFace() {
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);
  }
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

// Renders one character so that its ink is centred in the box horizontally,
// and copies what falls inside the box into the cell at (cellX, cellY).
void drawGlyph(FT_Face face, int code, int cellX, int cellY, Image& sheet) {
  // Light hinting snaps only vertically, keeping stems at full weight.
  if (FT_Load_Char(face, code, FT_LOAD_TARGET_LIGHT) != 0) return;
  FT_GlyphSlot slot = face->glyph;
  FT_Outline_EmboldenXY(&slot->outline, kEmbolden26_6, code == '_' ? kUnderscoreThickening26_6 : 0);
  FT_BBox box;
  FT_Outline_Get_CBox(&slot->outline, &box);
  // Whole-pixel shifts keep the edges where FreeType put them relative to
  // the pixel grid, so the glyph stays as crisp as it renders at the origin.
  const FT_Pos shift = (kBoxCentre26_6 - (box.xMin + box.xMax) / 2 + 32) & ~FT_Pos(63);
  FT_Outline_Translate(&slot->outline, shift, 0);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;

  const FT_Bitmap& bitmap = slot->bitmap;
  // The underscore reaches below the descenders, past the box's last row. A
  // glyph whose ink would fall below the box is lifted as far as the box's
  // top allows rather than cut off, so all of the underscore shows.
  const int top = kBaselineRow - slot->bitmap_top;
  const int overflow = top + int(bitmap.rows) - kBoxBottom;
  const int lift = std::clamp(overflow, 0, std::max(0, top - kBoxTop));
  for (unsigned row = 0; row < bitmap.rows; ++row) {
    const int y = top - lift + int(row);
    if (y < kBoxTop || y >= kBoxBottom) continue;
    for (unsigned col = 0; col < bitmap.width; ++col) {
      const int x = slot->bitmap_left + int(col);
      if (x < kBoxLeft || x >= kBoxRight) continue;
      const uint8_t v = bitmap.buffer[row * bitmap.pitch + col];
      sheet.at(cellX + x, cellY + y) = {v, v, v};
    }
  }
}

}  // namespace

bool makeFontSheet(const std::string& fontPath, Image& sheet, std::string& error) {
  FreeTypeFace ft;
  if (FT_Init_FreeType(&ft.library) != 0) {
    error = "cannot start FreeType";
    return false;
  }
  if (FT_New_Face(ft.library, fontPath.c_str(), 0, &ft.face) != 0 ||
      FT_Set_Pixel_Sizes(ft.face, kPixelWidth, kPixelHeight) != 0) {
    error = "cannot read font " + fontPath;
    return false;
  }
  sheet = Image(kSheetSize, kSheetSize);
  // Space stays black, so drawing starts at the first visible character.
  for (int code = kFirstChar + 1; code <= kLastChar; ++code) {
    const int index = code - kFirstChar;
    drawGlyph(ft.face, code, (index % kColumns) * kCellWidth, (index / kColumns) * kCellHeight,
              sheet);
  }
  return true;
}
