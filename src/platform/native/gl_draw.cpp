// Drawing through OpenGL 1.1, GLU's perspective and freeglut's 8 x 13 bitmap
// font: one GL call for each call of the game (immediate mode), or the same
// picture with the quads gathered into vertex arrays.
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

// One GL call for each call of the game.
struct GLDraw : Draw {
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
  void SwapBuffers() override {
    if (beforeSwap) beforeSwap();
    glutSwapBuffers();
  }
  void (*beforeSwap)() = nullptr;
};

// The same picture with far fewer calls: the quads are kept, each vertex with
// the colour and texture coordinate in force when it was given, and drawn in
// order as one vertex array whenever anything else has to happen first (a
// matrix, texture or texturing change, a line loop, text, clear or swap).
// Nothing is reordered.
struct BatchDraw final : GLDraw {
  struct V {
    float s, t, r, g, b, a, x, y, z;
  };
  static constexpr int MAX_VERTICES = 4 * 8192;
  V v[MAX_VERTICES];
  int n = 0;
  int begun = -1;           // where the open quads began, -1 outside them
  bool lines = false;       // inside a line loop: straight through to GL
  float cur[6] = {1, 1, 1, 1, 0, 0};   // colour and texture coordinate in force
  bool curSent = true;      // GL's own current colour and coordinate are cur
  int textured = -1, bound = -1;        // -1: not known

  // Draws the complete quads kept so far; a quad still open moves to the front.
  void Flush() {
    int whole = begun < 0 ? n : begun + (n - begun) / 4 * 4;
    if (whole > 0) {
      glEnableClientState(GL_VERTEX_ARRAY);
      glEnableClientState(GL_COLOR_ARRAY);
      glEnableClientState(GL_TEXTURE_COORD_ARRAY);
      glTexCoordPointer(2, GL_FLOAT, sizeof(V), &v[0].s);
      glColorPointer(4, GL_FLOAT, sizeof(V), &v[0].r);
      glVertexPointer(3, GL_FLOAT, sizeof(V), &v[0].x);
      glDrawArrays(GL_QUADS, 0, whole);
      curSent = false;   // drawing from arrays leaves GL's current values undefined
    }
    for (int i = whole; i < n; i++) v[i - whole] = v[i];
    n -= whole;
    if (begun >= 0) begun = 0;
  }
  // GL's current colour and texture coordinate, for what reads them (text,
  // line loops).
  void SendCurrent() {
    if (curSent) return;
    glColor4f(cur[0], cur[1], cur[2], cur[3]);
    glTexCoord2f(cur[4], cur[5]);
    curSent = true;
  }

  void SetupState() override { Flush(); GLDraw::SetupState(); }
  void Reshape(int w, int h, double fovy, double aspect, double zn, double zf) override {
    Flush();
    GLDraw::Reshape(w, h, fovy, aspect, zn, zf);
  }
  void Clear() override { Flush(); GLDraw::Clear(); }
  void SelectModelview() override { Flush(); GLDraw::SelectModelview(); }
  void LoadIdentity() override { Flush(); GLDraw::LoadIdentity(); }
  void Translate(float x, float y, float z) override { Flush(); GLDraw::Translate(x, y, z); }
  void Rotate(float a, float x, float y, float z) override { Flush(); GLDraw::Rotate(a, x, y, z); }
  void Texturing(bool on) override {
    if (textured == int(on)) return;
    Flush();
    GLDraw::Texturing(on);
    textured = on;
  }
  void BindTexture(int id) override {
    if (bound == id) return;
    Flush();
    GLDraw::BindTexture(id);
    bound = id;
  }
  void Color3(float r, float g, float b) override { Color4(r, g, b, 1); }
  void Color4(float r, float g, float b, float a) override {
    cur[0] = r, cur[1] = g, cur[2] = b, cur[3] = a;
    if (lines) GLDraw::Color4(r, g, b, a);
    else curSent = false;
  }
  void TexCoord(float s, float t) override {
    cur[4] = s, cur[5] = t;
    if (lines) GLDraw::TexCoord(s, t);
    else curSent = false;
  }
  void Begin(DrawPrim p) override {
    if (p == dpQuads) {
      begun = n;
      return;
    }
    Flush();
    SendCurrent();
    lines = true;
    GLDraw::Begin(p);
  }
  void Vertex(float x, float y, float z) override {
    if (begun < 0) {
      GLDraw::Vertex(x, y, z);
      return;
    }
    if (n == MAX_VERTICES) Flush();
    v[n++] = {cur[4], cur[5], cur[0], cur[1], cur[2], cur[3], x, y, z};
  }
  void End() override {
    if (begun >= 0) {
      n = begun + (n - begun) / 4 * 4;   // GL leaves out an unfinished quad
      begun = -1;
      return;
    }
    lines = false;
    GLDraw::End();
  }
  void Text(float x, float y, float z, const char* text) override {
    Flush();
    SendCurrent();
    GLDraw::Text(x, y, z, text);
  }
  void UploadTexture(int id, int w, int h, TexFormat fmt, const uint8_t* pixels,
                     bool linear) override {
    Flush();
    GLDraw::UploadTexture(id, w, h, fmt, pixels, linear);
    bound = id;
  }
  void SwapBuffers() override {
    Flush();
    GLDraw::SwapBuffers();
  }
};

GLDraw immediate;
BatchDraw batched;

}  // namespace

void NativeDrawFillsWindow(bool on) { fillsWindow = on; }

Draw* NativeDraw() { return &batched; }

Draw* ImmediateDraw() { return &immediate; }

void SetBeforeSwap(void (*hook)()) {
  immediate.beforeSwap = hook;
  batched.beforeSwap = hook;
}
