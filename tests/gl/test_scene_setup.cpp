// Scene set-up and shutdown: the GL state fixed once before the first frame,
// the objects set-up creates, and their release at the end of the run.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cstring>

#include "display/glut_window.h"
#include "scene/scene_setup.h"
#include "core/frame_clock.h"
#include "gfx/stars.h"
#include "gfx/textures.h"
#include "gl/gl_support.h"
#include "support/state.h"
#include "text/text_renderer.h"

namespace {

constexpr int kLoadedTextures = 6;

class SceneSetUp : public ::testing::Test {
 protected:
  void SetUp() override {
    restoreProgramState();
    releaseTextures();
    universeStars.releaseStars();
    while (glGetError() != GL_NO_ERROR) {
    }
  }

  void TearDown() override {
    // Set-up hands the window to the program's input callbacks and goes full
    // screen; later tests in this process get a plain window back.
    glutKeyboardFunc(nullptr);
    glutSpecialFunc(nullptr);
    glutSpecialUpFunc(nullptr);
    glutMouseFunc(nullptr);
    glutPassiveMotionFunc(nullptr);
    glutMotionFunc(nullptr);
    glutSetCursor(GLUT_CURSOR_INHERIT);
    if (glutGet(GLUT_FULL_SCREEN) != 0) glutLeaveFullScreen();
    resizeTestWindow(640, 480);
    releaseTextures();
    universeStars.releaseStars();
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_LIGHT0);
    glEnable(GL_DITHER);
    restoreProgramState();
  }

  static void releaseTextures() {
    if (textureSet.count != 0) glDeleteTextures(textureSet.count, textureSet.names);
    textureSet = TextureSet{};
    screenText.fontTexture = 0;
  }

  static GLint integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
  }

  static float real(GLenum name) {
    GLfloat value = 0.0f;
    glGetFloatv(name, &value);
    return value;
  }
};

TEST_F(SceneSetUp, InitFixesTheStateTheDrawingReliesOnAndSwitchesNothingOn) {
  ASSERT_TRUE(Init());
  glutMainLoopEvent();

  EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
  EXPECT_EQ(integer(GL_COLOR_MATERIAL_FACE), GL_FRONT_AND_BACK);
  EXPECT_EQ(integer(GL_COLOR_MATERIAL_PARAMETER), GL_AMBIENT_AND_DIFFUSE);
  EXPECT_EQ(integer(GL_LIGHT_MODEL_LOCAL_VIEWER), GL_TRUE);
  GLfloat shininess[2] = {0.0f, 0.0f};
  glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess[0]);
  glGetMaterialfv(GL_BACK, GL_SHININESS, &shininess[1]);
  EXPECT_FLOAT_EQ(shininess[0], 5.0f);
  EXPECT_FLOAT_EQ(shininess[1], 5.0f);
  EXPECT_EQ(integer(GL_SHADE_MODEL), GL_SMOOTH);
  EXPECT_EQ(integer(GL_BLEND_SRC), GL_SRC_ALPHA);
  EXPECT_EQ(integer(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
  // The reference value set here (0) is already replaced by the text
  // renderer's own when the greeting is drawn at the end of set-up.
  EXPECT_EQ(integer(GL_ALPHA_TEST_FUNC), GL_GREATER);
  EXPECT_FALSE(glIsEnabled(GL_DITHER));

  EXPECT_EQ(integer(GL_FOG_MODE), GL_LINEAR);
  GLfloat fogColor[4] = {1.0f, 1.0f, 1.0f, 0.0f};
  glGetFloatv(GL_FOG_COLOR, fogColor);
  EXPECT_FLOAT_EQ(fogColor[0], 0.0f);
  EXPECT_FLOAT_EQ(fogColor[1], 0.0f);
  EXPECT_FLOAT_EQ(fogColor[2], 0.0f);
  EXPECT_FLOAT_EQ(fogColor[3], 1.0f);
  EXPECT_FLOAT_EQ(real(GL_FOG_START), 0.5f);
  EXPECT_FLOAT_EQ(real(GL_FOG_END), 10.0f);

  // The drawing code switches these on around its own drawing only.
  for (GLenum cap : {GL_FOG, GL_BLEND, GL_DEPTH_TEST, GL_LIGHTING, GL_TEXTURE_2D, GL_ALPHA_TEST}) {
    EXPECT_FALSE(glIsEnabled(cap)) << "capability 0x" << std::hex << cap;
  }

  EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
  GLfloat spot[2] = {0.0f, 0.0f};
  glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, &spot[0]);
  glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, &spot[1]);
  EXPECT_FLOAT_EQ(spot[0], 30.0f);
  EXPECT_FLOAT_EQ(spot[1], 30.0f);

  GLfloat clear[4] = {1.0f, 1.0f, 1.0f, 0.0f};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_FLOAT_EQ(clear[0] + clear[1] + clear[2], 0.0f);
  EXPECT_FLOAT_EQ(clear[3], 1.0f);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneSetUp, InitLoadsTheResourcesBuildsTheStarsAndGreetsTheUser) {
  setClockMs(1500);  // the clock as read at entry
  ASSERT_TRUE(Init());
  glutMainLoopEvent();

  EXPECT_EQ(glutGet(GLUT_FULL_SCREEN), 1);
  ASSERT_EQ(textureSet.count, kLoadedTextures);
  for (int i = 0; i < kLoadedTextures; ++i) {
    EXPECT_TRUE(glIsTexture(textureSet.names[i])) << "slot " << i;
  }
  EXPECT_EQ(screenText.fontTexture, textureSet.names[FontSlot]);
  ASSERT_NE(universeStars.listId, -1);
  EXPECT_TRUE(glIsList(static_cast<GLuint>(universeStars.listId)));

  EXPECT_STREQ(screenText.lastText, "Press ? key for Help Screen");
  EXPECT_EQ(screenText.lastX, 10);
  EXPECT_EQ(screenText.lastY, 25);
  EXPECT_DOUBLE_EQ(screenText.messageExpiry, 4.5);
}

TEST_F(SceneSetUp, ShutdownReleasesTheTexturesAndTheStarList) {
  ASSERT_TRUE(Init());
  ASSERT_EQ(textureSet.count, kLoadedTextures);
  GLuint names[kLoadedTextures];
  std::memcpy(names, textureSet.names, sizeof names);
  const GLuint list = static_cast<GLuint>(universeStars.listId);

  shutdownScene();

  for (int i = 0; i < kLoadedTextures; ++i) EXPECT_FALSE(glIsTexture(names[i])) << "slot " << i;
  EXPECT_FALSE(glIsList(list));
  EXPECT_EQ(universeStars.listId, -1);
  EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
  textureSet = TextureSet{};  // already deleted
}

}  // namespace
