// The scene's fog: linear and black, from kFogStart to kFogEnd units along
// the eye's line of sight. setUpFog hands it to the GL for whatever is drawn
// with GL_FOG on. drawFoggedQuad draws a textured quad under the same fog
// without it: the fog's factor goes into the vertex colour, which costs the
// software renderer far less per pixel than the GL's own fog does.
// fogFactorAt gives that factor for anything that puts it in the colour itself.
#pragma once

constexpr float kFogStart = 0.5f;
constexpr float kFogEnd = 10.0f;

void setUpFog();

// The factor the GL's fog gives a point under the model-view matrix: 1 (clear)
// to 0 (black), from the size of the point's eye-space z.
float fogFactorAt(const float modelView[16], const float point[3]);

// Corners in order with their texture coordinates; colour is what the
// texture is modulated with. Leaves colour as the current GL colour.
void drawFoggedQuad(const float corners[4][3], const float s[4], const float t[4],
                    const float color[4]);
