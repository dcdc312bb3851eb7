// The scene's fog: linear and black, from kFogStart to kFogEnd units along
// the eye's line of sight. setUpFog hands it to the GL for whatever is drawn
// with GL_FOG on. drawFoggedQuad draws a textured quad under the same fog
// without it: the fog's factor goes into the vertex colour, which costs the
// software renderer far less per pixel than the GL's own fog does.
#pragma once

constexpr float kFogStart = 0.5f;
constexpr float kFogEnd = 10.0f;

void setUpFog();

// Corners in order with their texture coordinates; colour is what the
// texture is modulated with. Leaves colour as the current GL colour.
void drawFoggedQuad(const float corners[4][3], const float s[4], const float t[4],
                    const float color[4]);
