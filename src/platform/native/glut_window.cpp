// The window and its event loop through freeglut. The loop calls the game's
// idle and display callbacks in turn; Quit (the Escape key's QuitQuarn) or
// closing the window ends it, and WinMain then returns.
#include <GL/freeglut.h>
// X11 names its window type Window, as the seam does: renamed here.
#define Window X11Window
#include <GL/glx.h>
#undef Window

#include "game.h"
#include "platform/native/native.h"

namespace {

bool quitting = false;   // Quit has been asked for: no further frames

void IdleCallback() {
  if (quitting) return;
  NativeKeyboardPoll();
  glutIdle();
}

void DisplayCallback() {
  if (quitting) return;
  glutDisplay();
}

void MouseCallback(int button, int state, int x, int y) {
  NativeKeyboardMouse(button, state);
  glutMouse(button, state, x, y);
}

// Closing the window shuts the game down the same way as the quit key. The
// window is also destroyed when the loop ends after a quit: nothing more then.
void CloseCallback() {
  if (!quitting) QuitQuarn();
}

struct GlutWindow final : Window {
  long Create(const char* title, int w, int h) override {
    int argc = 1;
    char name[] = "quarn";
    char* argv[] = {name, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGB);
    glutInitWindowSize(w, h);
    glutCreateWindow(title);
    glutSetOption(GLUT_ACTION_ON_WINDOW_CLOSE, GLUT_ACTION_CONTINUE_EXECUTION);
    glutIgnoreKeyRepeat(1);
    return long(glXGetCurrentDrawable());
  }
  void RegisterCallbacks() override {
    glutDisplayFunc(DisplayCallback);
    glutReshapeFunc(glutResize);
    glutMouseFunc(MouseCallback);
    glutIdleFunc(IdleCallback);
    glutCloseFunc(CloseCallback);
  }
  void MainLoop() override { glutMainLoop(); }
  void FullScreen() override { glutFullScreen(); }
  void ReshapeWindow(int w, int h) override { glutReshapeWindow(w, h); }
  void PositionWindow(int x, int y) override { glutPositionWindow(x, y); }
  void PostRedisplay() override { glutPostRedisplay(); }
  void Quit() override {
    quitting = true;
    glutLeaveMainLoop();
  }
};

}  // namespace

Window* NativeWindow() {
  static GlutWindow w;
  return &w;
}
