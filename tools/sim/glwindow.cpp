#include "glwindow.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

#include "game.h"
#include "platform/native/native.h"

namespace glwin {

namespace {

bool reshaped = false;
const char* (*wanted)() = nullptr;

void Reshape(int w, int h) {
  reshaped = true;
  glutResize(w, h);
}

void NoDisplay() {}

void SaveBackBuffer() {
  const char* path = wanted ? wanted() : nullptr;
  if (!path) return;
  GLint vp[4];
  glGetIntegerv(GL_VIEWPORT, vp);
  const int w = vp[2], h = vp[3];
  std::vector<unsigned char> px(size_t(w) * size_t(h) * 3);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, px.data());
  FILE* f = std::fopen(path, "wb");
  if (!f) return;
  std::fprintf(f, "P6\n%d %d\n255\n", w, h);
  for (int y = h - 1; y >= 0; --y) std::fwrite(&px[size_t(y) * size_t(w) * 3], 1, size_t(w) * 3, f);
  std::fclose(f);
}

struct ToolWindow final : Window {
  long handle = 0;
  bool created = false;
  long Create(const char* title, int w, int h) override {
    if (!created) handle = NativeWindow()->Create(title, w, h);
    created = true;
    return handle;
  }
  void RegisterCallbacks() override {
    glutDisplayFunc(NoDisplay);
    glutReshapeFunc(Reshape);
  }
  void MainLoop() override {}
  void FullScreen() override { NativeWindow()->FullScreen(); }
  void ReshapeWindow(int w, int h) override { NativeWindow()->ReshapeWindow(w, h); }
  void PositionWindow(int x, int y) override { NativeWindow()->PositionWindow(x, y); }
  void PostRedisplay() override {}
  void Quit() override {}
};

}  // namespace

Window* TheWindow() {
  static ToolWindow w;
  return &w;
}

Draw* Drawer(bool immediate) { return immediate ? ImmediateDraw() : NativeDraw(); }

void Pump() {
  for (int i = 0; i < 500 && !reshaped; ++i) {
    glutMainLoopEvent();
    if (!reshaped) usleep(2000);
  }
  glutMainLoopEvent();
}

void Finish() { glFinish(); }

void SaveFrames(const char* (*want)()) {
  wanted = want;
  SetBeforeSwap(want ? SaveBackBuffer : nullptr);
}

}  // namespace glwin
