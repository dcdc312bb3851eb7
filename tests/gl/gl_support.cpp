#include "gl/gl_support.h"

#include <GL/freeglut.h>
#include <dlfcn.h>
#include <link.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "scene/resources.h"
#include "display/glut_window.h"
#include "gfx/textures.h"
#include "particles/particles.h"

namespace {
constexpr int kStartWidth = 640;
constexpr int kStartHeight = 480;

void noDisplay() {}

std::vector<uint8_t> readWindow(int* width, int* height) {
  *width = glutGet(GLUT_WINDOW_WIDTH);
  *height = glutGet(GLUT_WINDOW_HEIGHT);
  std::vector<uint8_t> pixels(static_cast<size_t>(*width) * *height * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(0, 0, *width, *height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  return pixels;
}

int brightness(const std::vector<uint8_t>& p, int width, int height, int x, int yFromTop) {
  const size_t i = (static_cast<size_t>(height - 1 - yFromTop) * width + x) * 3;
  return (p[i] + p[i + 1] + p[i + 2]) / 3;
}
}  // namespace

void openTestWindow(int* argc, char** argv) {
  glutInit(argc, argv);
  glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH);
  glutInitWindowSize(kStartWidth, kStartHeight);
  glutCreateWindow("Cryptwell tests");
  glutDisplayFunc(noDisplay);
  resizeTestWindow(kStartWidth, kStartHeight);
}

bool pumpEventsUntil(const std::function<bool()>& done, double seconds) {
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    glutMainLoopEvent();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void resizeTestWindow(int width, int height) {
  glutReshapeWindow(width, height);
  pumpEventsUntil([&] {
    return glutGet(GLUT_WINDOW_WIDTH) == width && glutGet(GLUT_WINDOW_HEIGHT) == height;
  });
  onReshape(width, height);
}

Rgb pixelAt(int x, int yFromTop) {
  const int height = glutGet(GLUT_WINDOW_HEIGHT);
  uint8_t p[3] = {0, 0, 0};
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_BACK);
  glReadPixels(x, height - 1 - yFromTop, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p);
  return {p[0], p[1], p[2]};
}

bool litRows(int x0, int x1, int threshold, int* firstRow, int* lastRow) {
  int width = 0, height = 0;
  const std::vector<uint8_t> p = readWindow(&width, &height);
  *firstRow = -1;
  *lastRow = -1;
  for (int y = 0; y < height; ++y) {
    for (int x = x0; x < x1 && x < width; ++x) {
      if (brightness(p, width, height, x, y) > threshold) {
        if (*firstRow < 0) *firstRow = y;
        *lastRow = y;
        break;
      }
    }
  }
  return *firstRow >= 0;
}

bool litColumns(int y0, int y1, int threshold, int* firstColumn, int* lastColumn) {
  int width = 0, height = 0;
  const std::vector<uint8_t> p = readWindow(&width, &height);
  *firstColumn = -1;
  *lastColumn = -1;
  for (int x = 0; x < width; ++x) {
    for (int y = y0; y < y1 && y < height; ++y) {
      if (brightness(p, width, height, x, y) > threshold) {
        if (*firstColumn < 0) *firstColumn = x;
        *lastColumn = x;
        break;
      }
    }
  }
  return *firstColumn >= 0;
}

void clearToBlack() {
  glViewport(0, 0, glutGet(GLUT_WINDOW_WIDTH), glutGet(GLUT_WINDOW_HEIGHT));
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

bool litRowsIn(int x0, int x1, int y0, int y1, int threshold, int* firstRow, int* lastRow) {
  int width = 0, height = 0;
  const std::vector<uint8_t> p = readWindow(&width, &height);
  *firstRow = -1;
  *lastRow = -1;
  for (int y = y0 < 0 ? 0 : y0; y < y1 && y < height; ++y) {
    for (int x = x0 < 0 ? 0 : x0; x < x1 && x < width; ++x) {
      if (brightness(p, width, height, x, y) > threshold) {
        if (*firstRow < 0) *firstRow = y;
        *lastRow = y;
        break;
      }
    }
  }
  return *firstRow >= 0;
}

std::vector<uint8_t> readRegion(int x0, int x1, int y0, int y1) {
  int width = 0, height = 0;
  const std::vector<uint8_t> p = readWindow(&width, &height);
  std::vector<uint8_t> region;
  for (int y = y0; y < y1; ++y) {
    const size_t row = static_cast<size_t>(height - 1 - y) * width;
    region.insert(region.end(), p.begin() + (row + x0) * 3, p.begin() + (row + x1) * 3);
  }
  return region;
}

GLuint makeTestTexture(int edge, const uint8_t* rgba) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, edge, edge, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
  return name;
}

GLuint makeSolidWhiteTexture() {
  constexpr int kEdge = 128;
  const std::vector<uint8_t> white(kEdge * kEdge * 4, 255);
  return makeTestTexture(kEdge, white.data());
}

namespace {
int pinDriver(struct dl_phdr_info* info, size_t, void*) {
  const char* name = info->dlpi_name;
  if (name != nullptr &&
      (std::strstr(name, "_dri.so") != nullptr || std::strstr(name, "libgallium") != nullptr)) {
    // Already loaded: this only marks it never to be unloaded.
    dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
  return 0;
}
}  // namespace

void keepGlDriverLoaded() { dl_iterate_phdr(pinDriver, nullptr); }

void resizeTestDrawable(int width, int height) {
  resizeTestWindow(width, height);
  glutSwapBuffers();
}

void loadTestResources() {
  // The texture set only grows; a second load without this would run past its slots.
  if (textureSet.count != 0) glDeleteTextures(textureSet.count, textureSet.names);
  textureSet = TextureSet{};
  loadResources();
}

int liveCount(int kind) {
  int count = 0;
  for (const Particle& p : particleSystem.slots) count += p.active != 0 && p.kind == kind ? 1 : 0;
  return count;
}
