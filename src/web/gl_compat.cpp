// The layer of gl_compat.h: what the program asks of the GL that emscripten's
// emulation of desktop GL lacks, done on the processor and drawn through the
// emulation. This file sees the real calls: it is not given the header's
// renames.
#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "core/easing.h"

namespace {
constexpr int kLights = 8;
constexpr int kAttributeDepth = 4;  // the program pushes the viewport alone, one deep
constexpr int kTextureCopies = 16;

struct Vec3 {
  float x, y, z;
};
Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 normalized(Vec3 v) {
  const float length = std::sqrt(dot(v, v));
  return length > 0.0f ? Vec3{v.x / length, v.y / length, v.z / length} : v;
}

struct Vertex {
  float position[3];
  float colour[4];
  float texCoord[2];
  Vec3 normal;
};

// The state a vertex takes with it, as the GL keeps it between calls.
Vertex current = {{0, 0, 0}, {1, 1, 1, 1}, {0, 0}, {0, 0, 1}};

// Matrices are column-major, as the GL hands them out.
struct Matrix {
  float m[16];
};
Matrix modelview() {
  Matrix r;
  glGetFloatv(GL_MODELVIEW_MATRIX, r.m);
  return r;
}
// The point (p, w) transformed; its w goes to outW when that is given.
Vec3 transformPoint(const Matrix& a, const float p[3], float w, float* outW) {
  const float* m = a.m;
  if (outW != nullptr) *outW = m[3] * p[0] + m[7] * p[1] + m[11] * p[2] + m[15] * w;
  return {m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12] * w,
          m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13] * w,
          m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14] * w};
}
// The program's modelview is rotations and translations only, so it turns
// normals as it turns directions (its inverse transpose is itself).
Vec3 transformDirection(const Matrix& a, Vec3 d) {
  const float* m = a.m;
  return {m[0] * d.x + m[4] * d.y + m[8] * d.z, m[1] * d.x + m[5] * d.y + m[9] * d.z,
          m[2] * d.x + m[6] * d.y + m[10] * d.z};
}

// Lighting, with the GL's defaults. Positions and directions are kept in
// eye coordinates, transformed when they are set, as the GL does.
struct Light {
  bool enabled = false;
  float ambient[4] = {0, 0, 0, 1};
  float diffuse[4] = {0, 0, 0, 1};
  float specular[4] = {0, 0, 0, 1};
  float position[4] = {0, 0, 1, 0};
  Vec3 spotDirection = {0, 0, -1};
  float spotExponent = 0.0f;
  float spotCutoff = 180.0f;
};
Light lights[kLights];
bool lighting = false;
bool colourMaterial = false;
bool localViewer = false;
float sceneAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
float materialAmbient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
float materialDiffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
float materialSpecular[4] = {0, 0, 0, 1};
float materialEmission[4] = {0, 0, 0, 1};
float materialShininess = 0.0f;
Matrix vertexModelview;  // taken at glBegin while lighting is on

void copy4(float* to, const float* from) { std::memcpy(to, from, 4 * sizeof(float)); }

// The colour the GL's fixed-function lighting gives a vertex: one spotlight
// term per light (ambient, diffuse, specular), with the material's ambient
// and diffuse taken from the vertex colour under GL_COLOR_MATERIAL.
void lightVertex(const Vertex& v, float out[4]) {
  const float* ambient = colourMaterial ? v.colour : materialAmbient;
  const float* diffuse = colourMaterial ? v.colour : materialDiffuse;
  const Vec3 eye = transformPoint(vertexModelview, v.position, 1.0f, nullptr);
  const Vec3 normal = transformDirection(vertexModelview, v.normal);
  const Vec3 toViewer = localViewer ? normalized(Vec3{0, 0, 0} - eye) : Vec3{0, 0, 1};
  for (int c = 0; c < 3; ++c) out[c] = materialEmission[c] + sceneAmbient[c] * ambient[c];
  for (const Light& light : lights) {
    if (!light.enabled) continue;
    const Vec3 lightAt = {light.position[0], light.position[1], light.position[2]};
    const Vec3 toLight = normalized(light.position[3] != 0.0f ? lightAt - eye : lightAt);
    float spot = 1.0f;
    if (light.spotCutoff != 180.0f) {
      const float cosine = dot(Vec3{0, 0, 0} - toLight, normalized(light.spotDirection));
      spot = cosine >= std::cos(light.spotCutoff / static_cast<float>(kDegreesPerRadian))
                 ? std::pow(std::max(cosine, 0.0f), light.spotExponent)
                 : 0.0f;
    }
    const float lambert = std::max(dot(normal, toLight), 0.0f);
    const float shine = lambert > 0.0f
                            ? std::pow(std::max(dot(normal, normalized(toLight + toViewer)), 0.0f),
                                       materialShininess)
                            : 0.0f;
    for (int c = 0; c < 3; ++c) {
      out[c] += spot * (light.ambient[c] * ambient[c] + lambert * light.diffuse[c] * diffuse[c] +
                        shine * light.specular[c] * materialSpecular[c]);
    }
  }
  for (int c = 0; c < 3; ++c) out[c] = std::min(std::max(out[c], 0.0f), 1.0f);
  out[3] = diffuse[3];
}

// Display lists: the vertices of each primitive, replayed through the same
// path as the program's own calls, so that state at the call applies.
struct Primitive {
  GLenum mode;
  std::vector<Vertex> vertices;
};
std::vector<std::vector<Primitive>> displayLists;  // list n at index n - 1
std::vector<Primitive>* compiling = nullptr;

// Polygon modes: in GL_LINE a polygon is drawn as its edges, in GL_POINT as
// its corners. The vertices of the polygon under way wait here.
GLenum polygonMode = GL_FILL;
GLenum primitiveMode = GL_POINTS;
Vertex pending[4];
int pendingCount = 0;

bool isPolygon(GLenum mode) {
  return mode == GL_TRIANGLES || mode == GL_QUADS || mode == GL_TRIANGLE_STRIP;
}

void emit(const Vertex& v) {
  float colour[4];
  if (lighting) {
    lightVertex(v, colour);
  } else {
    copy4(colour, v.colour);
  }
  glColor4f(colour[0], colour[1], colour[2], colour[3]);
  glTexCoord2f(v.texCoord[0], v.texCoord[1]);
  glVertex3f(v.position[0], v.position[1], v.position[2]);
}

void emitEdges(const Vertex* corners, int count) {
  for (int i = 0; i < count; ++i) {
    emit(corners[i]);
    emit(corners[(i + 1) % count]);
  }
}

// A vertex of a polygon drawn in GL_LINE mode: edges go out as each
// triangle or quad is complete.
void lineModeVertex(const Vertex& v) {
  if (primitiveMode == GL_TRIANGLE_STRIP) {
    // Each vertex after the second closes a triangle with the two before it.
    if (pendingCount == 2) {
      const Vertex triangle[3] = {pending[0], pending[1], v};
      emitEdges(triangle, 3);
      pending[0] = pending[1];
      pending[1] = v;
    } else {
      pending[pendingCount++] = v;
    }
    return;
  }
  pending[pendingCount++] = v;
  const int corners = primitiveMode == GL_QUADS ? 4 : 3;
  if (pendingCount == corners) {
    emitEdges(pending, corners);
    pendingCount = 0;
  }
}

void vertex(float x, float y, float z) {
  current.position[0] = x;
  current.position[1] = y;
  current.position[2] = z;
  if (compiling != nullptr) {
    compiling->back().vertices.push_back(current);
  } else if (polygonMode == GL_LINE && isPolygon(primitiveMode)) {
    lineModeVertex(current);
  } else {
    emit(current);
  }
}

void setColour(float r, float g, float b, float a) {
  current.colour[0] = r;
  current.colour[1] = g;
  current.colour[2] = b;
  current.colour[3] = a;
}

// The level-0 picture of each texture, kept when it is loaded: WebGL cannot
// read a texture back.
struct TextureCopy {
  GLuint name = 0;
  GLsizei width = 0;
  GLsizei height = 0;
  std::vector<unsigned char> rgba;
};
TextureCopy textureCopies[kTextureCopies];

GLuint boundTexture() {
  GLint name = 0;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
  return static_cast<GLuint>(name);
}

TextureCopy* findCopy(GLuint name) {
  for (TextureCopy& copy : textureCopies) {
    if (copy.name == name) return &copy;
  }
  return nullptr;
}

GLint viewportStack[kAttributeDepth][4];
int viewportDepth = 0;
}  // namespace

void webBegin(GLenum mode) {
  primitiveMode = mode;
  pendingCount = 0;
  if (compiling != nullptr) {
    compiling->push_back({mode, {}});
    return;
  }
  if (lighting) vertexModelview = modelview();
  GLenum drawn = mode;
  if (isPolygon(mode) && polygonMode == GL_LINE) drawn = GL_LINES;
  if (isPolygon(mode) && polygonMode == GL_POINT) drawn = GL_POINTS;
  glBegin(drawn);
}

void webEnd() {
  if (compiling == nullptr) glEnd();
}

void webVertex2f(GLfloat x, GLfloat y) { vertex(x, y, 0.0f); }
void webVertex3fv(const GLfloat* v) { vertex(v[0], v[1], v[2]); }
void webTexCoord2f(GLfloat s, GLfloat t) {
  current.texCoord[0] = s;
  current.texCoord[1] = t;
}
void webColor3f(GLfloat r, GLfloat g, GLfloat b) { setColour(r, g, b, 1.0f); }
void webColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) { setColour(r, g, b, a); }
void webColor4fv(const GLfloat* c) { setColour(c[0], c[1], c[2], c[3]); }

namespace {
// Lighting is the layer's own: the emulation never sees it switched on.
// True when `cap` is one of the layer's, now set to `on`.
bool setOwnCapability(GLenum cap, bool on) {
  if (cap == GL_LIGHTING) {
    lighting = on;
  } else if (cap == GL_COLOR_MATERIAL) {
    colourMaterial = on;
  } else if (cap >= GL_LIGHT0 && cap < GL_LIGHT0 + kLights) {
    lights[cap - GL_LIGHT0].enabled = on;
  } else {
    return false;
  }
  return true;
}
}  // namespace

void webEnable(GLenum cap) {
  if (!setOwnCapability(cap, true)) glEnable(cap);
}

void webDisable(GLenum cap) {
  if (!setOwnCapability(cap, false)) glDisable(cap);
}

void webLightfv(GLenum which, GLenum name, const GLfloat* values) {
  if (which < GL_LIGHT0 || which >= GL_LIGHT0 + kLights) return;
  Light& light = lights[which - GL_LIGHT0];
  switch (name) {
    case GL_AMBIENT: copy4(light.ambient, values); break;
    case GL_DIFFUSE: copy4(light.diffuse, values); break;
    case GL_SPECULAR: copy4(light.specular, values); break;
    case GL_POSITION: {
      const Vec3 eye = transformPoint(modelview(), values, values[3], &light.position[3]);
      light.position[0] = eye.x;
      light.position[1] = eye.y;
      light.position[2] = eye.z;
      break;
    }
    case GL_SPOT_DIRECTION:
      light.spotDirection = transformDirection(modelview(), {values[0], values[1], values[2]});
      break;
    default: break;
  }
}

void glLightf(GLenum which, GLenum name, GLfloat value) {
  if (which < GL_LIGHT0 || which >= GL_LIGHT0 + kLights) return;
  if (name == GL_SPOT_EXPONENT) lights[which - GL_LIGHT0].spotExponent = value;
  if (name == GL_SPOT_CUTOFF) lights[which - GL_LIGHT0].spotCutoff = value;
}

void webLightModelfv(GLenum name, const GLfloat* values) {
  if (name == GL_LIGHT_MODEL_AMBIENT) copy4(sceneAmbient, values);
}

void glLightModeli(GLenum name, GLint value) {
  if (name == GL_LIGHT_MODEL_LOCAL_VIEWER) localViewer = value != 0;
}

void webMaterialfv(GLenum, GLenum name, const GLfloat* values) {
  switch (name) {
    case GL_AMBIENT: copy4(materialAmbient, values); break;
    case GL_DIFFUSE: copy4(materialDiffuse, values); break;
    case GL_AMBIENT_AND_DIFFUSE:
      copy4(materialAmbient, values);
      copy4(materialDiffuse, values);
      break;
    case GL_SPECULAR: copy4(materialSpecular, values); break;
    case GL_EMISSION: copy4(materialEmission, values); break;
    case GL_SHININESS: materialShininess = values[0]; break;
    default: break;
  }
}

void glMateriali(GLenum, GLenum name, GLint value) {
  if (name == GL_SHININESS) materialShininess = static_cast<float>(value);
}

// The colour stands in for the ambient and diffuse material, the one choice
// the program makes; the layer lights with it whenever GL_COLOR_MATERIAL is on.
void glColorMaterial(GLenum, GLenum) {}

void webPolygonMode(GLenum, GLenum mode) { polygonMode = mode; }

// WebGL shades smoothly only. The program shades flat only batches that give
// every primitive one colour, which smooth shading draws the same.
void webShadeModel(GLenum) {}

void webGetIntegerv(GLenum name, GLint* values) {
  if (name == GL_POLYGON_MODE) {
    values[0] = values[1] = static_cast<GLint>(polygonMode);
  } else {
    glGetIntegerv(name, values);
  }
}

void glNormal3d(GLdouble x, GLdouble y, GLdouble z) {
  current.normal = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}
void glTexCoord2d(GLdouble s, GLdouble t) {
  webTexCoord2f(static_cast<float>(s), static_cast<float>(t));
}
void glVertex3d(GLdouble x, GLdouble y, GLdouble z) {
  vertex(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

GLuint glGenLists(GLsizei range) {
  const size_t first = displayLists.size() + 1;
  displayLists.resize(displayLists.size() + static_cast<size_t>(range));
  return static_cast<GLuint>(first);
}

void glNewList(GLuint list, GLenum) {
  if (list == 0 || list > displayLists.size()) return;
  compiling = &displayLists[list - 1];
  compiling->clear();
}

void glEndList() { compiling = nullptr; }

void glCallList(GLuint list) {
  if (list == 0 || list > displayLists.size()) return;
  for (const Primitive& primitive : displayLists[list - 1]) {
    webBegin(primitive.mode);
    for (const Vertex& v : primitive.vertices) {
      current = v;
      vertex(v.position[0], v.position[1], v.position[2]);
    }
    webEnd();
  }
}

void glDeleteLists(GLuint list, GLsizei range) {
  for (GLuint n = list; n < list + static_cast<GLuint>(range) && n <= displayLists.size(); ++n) {
    displayLists[n - 1].clear();
  }
}

void glPushAttrib(GLbitfield) {
  if (viewportDepth == kAttributeDepth) return;
  glGetIntegerv(GL_VIEWPORT, viewportStack[viewportDepth++]);
}

void glPopAttrib() {
  if (viewportDepth == 0) return;
  const GLint* v = viewportStack[--viewportDepth];
  glViewport(v[0], v[1], v[2], v[3]);
}

void webTexImage2D(GLenum target, GLint level, GLint, GLsizei width, GLsizei height, GLint border,
                   GLenum format, GLenum type, const void* pixels) {
  // WebGL takes the internal format only as the format itself.
  glTexImage2D(target, level, static_cast<GLint>(format), width, height, border, format, type,
               pixels);
  if (level != 0 || format != GL_RGBA || type != GL_UNSIGNED_BYTE || pixels == nullptr) return;
  const GLuint name = boundTexture();
  TextureCopy* copy = findCopy(name);
  if (copy == nullptr) copy = findCopy(0);
  if (copy == nullptr) return;
  const auto* bytes = static_cast<const unsigned char*>(pixels);
  copy->name = name;
  copy->width = width;
  copy->height = height;
  copy->rgba.assign(bytes, bytes + static_cast<size_t>(width) * height * 4);
}

void glGetTexImage(GLenum, GLint level, GLenum format, GLenum type, void* pixels) {
  const TextureCopy* copy = findCopy(boundTexture());
  if (level != 0 || format != GL_RGBA || type != GL_UNSIGNED_BYTE || copy == nullptr) return;
  std::memcpy(pixels, copy->rgba.data(), copy->rgba.size());
}

void glGetTexLevelParameteriv(GLenum, GLint level, GLenum name, GLint* value) {
  const TextureCopy* copy = findCopy(boundTexture());
  if (level != 0 || copy == nullptr) return;
  if (name == GL_TEXTURE_WIDTH) *value = copy->width;
  if (name == GL_TEXTURE_HEIGHT) *value = copy->height;
}

// Each level halves the one above by averaging 2 x 2 texels, down to 1 x 1;
// the program's pictures are square with power-of-two edges.
GLint gluBuild2DMipmaps(GLenum target, GLint, GLsizei width, GLsizei height, GLenum format,
                        GLenum type, const void* pixels) {
  const auto* bytes = static_cast<const unsigned char*>(pixels);
  std::vector<unsigned char> level(bytes, bytes + static_cast<size_t>(width) * height * 4);
  webTexImage2D(target, 0, GL_RGBA, width, height, 0, format, type, level.data());
  for (GLint n = 1; width > 1 || height > 1; ++n) {
    const GLsizei w = std::max(width / 2, 1);
    const GLsizei h = std::max(height / 2, 1);
    std::vector<unsigned char> smaller(static_cast<size_t>(w) * h * 4);
    for (GLsizei y = 0; y < h; ++y) {
      for (GLsizei x = 0; x < w; ++x) {
        for (int c = 0; c < 4; ++c) {
          const auto at = [&](GLsizei sx, GLsizei sy) {
            return level[(static_cast<size_t>(std::min(sy, height - 1)) * width +
                          std::min(sx, width - 1)) * 4 + c];
          };
          const int sum = at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) +
                          at(2 * x + 1, 2 * y + 1);
          smaller[(static_cast<size_t>(y) * w + x) * 4 + c] = static_cast<unsigned char>((sum + 2) / 4);
        }
      }
    }
    glTexImage2D(target, n, GL_RGBA, w, h, 0, format, type, smaller.data());
    level.swap(smaller);
    width = w;
    height = h;
  }
  return 0;
}

const GLubyte* gluErrorString(GLenum error) {
  const char* text = "unknown error";
  switch (error) {
    case GL_NO_ERROR: text = "no error"; break;
    case GL_INVALID_ENUM: text = "invalid enumerant"; break;
    case GL_INVALID_VALUE: text = "invalid value"; break;
    case GL_INVALID_OPERATION: text = "invalid operation"; break;
    case GL_OUT_OF_MEMORY: text = "out of memory"; break;
    default: break;
  }
  return reinterpret_cast<const GLubyte*>(text);
}
