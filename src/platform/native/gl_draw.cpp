// Drawing through OpenGL 1.1 immediate mode, GLU's perspective and freeglut's
// 8 x 13 bitmap font.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/native/native.h"

namespace {

bool fillsWindow = false;

GLenum GlFormat(TexFormat f) {
  switch (f) {
    case tfRGB: return GL_RGB;
    case tfAlpha: return GL_ALPHA;
    default: return GL_RGBA;
  }
}

struct GLDraw final : Draw {
  void SetupState() override {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  }
  void Reshape(int w, int h, double fovy, double aspect, double znear, double zfar) override {
    if (fillsWindow) {
      w = glutGet(GLUT_WINDOW_WIDTH);
      h = glutGet(GLUT_WINDOW_HEIGHT);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovy, aspect, znear, zfar);
  }
  void Clear() override { glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); }
  void SelectModelview() override { glMatrixMode(GL_MODELVIEW); }
  void LoadIdentity() override { glLoadIdentity(); }
  void Translate(float x, float y, float z) override { glTranslatef(x, y, z); }
  void Rotate(float a, float x, float y, float z) override { glRotatef(a, x, y, z); }
  void Texturing(bool on) override {
    if (on) glEnable(GL_TEXTURE_2D);
    else glDisable(GL_TEXTURE_2D);
  }
  void BindTexture(int id) override { glBindTexture(GL_TEXTURE_2D, GLuint(id)); }
  void Color3(float r, float g, float b) override { glColor3f(r, g, b); }
  void Color4(float r, float g, float b, float a) override { glColor4f(r, g, b, a); }
  void Begin(DrawPrim p) override { glBegin(p == dpQuads ? GL_QUADS : GL_LINE_LOOP); }
  void TexCoord(float s, float t) override { glTexCoord2f(s, t); }
  void Vertex(float x, float y, float z) override { glVertex3f(x, y, z); }
  void End() override { glEnd(); }
  void Text(float x, float y, float z, const char* text) override {
    glRasterPos3f(x, y, z);
    for (const char* c = text; *c; ++c) glutBitmapCharacter(GLUT_BITMAP_8_BY_13, *c);
  }
  void UploadTexture(int id, int w, int h, TexFormat fmt, const uint8_t* pixels,
                     bool linear) override {
    GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glBindTexture(GL_TEXTURE_2D, GLuint(id));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    GLenum f = GlFormat(fmt);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(f), w, h, 0, f, GL_UNSIGNED_BYTE, pixels);
  }
  void SwapBuffers() override { glutSwapBuffers(); }
};

}  // namespace

void NativeDrawFillsWindow(bool on) { fillsWindow = on; }

Draw* NativeDraw() {
  static GLDraw d;
  return &d;
}
