// The window and its event loop through freeglut. The loop calls the game's
// idle and display callbacks in turn (or those a demo puts between); Quit (the
// Escape key's QuitQuarn) or closing the window ends it, and WinMain then
// returns.
#include <GL/freeglut.h>
// X11 names its window type Window, as the seam does: renamed here.
#define Window X11Window
#include <GL/glx.h>
#include <X11/Xatom.h>
#undef Window

#include "game.h"
#include "platform/native/native.h"

namespace {

bool quitting = false;   // Quit has been asked for: no further frames
bool managerFullScreen = false;   // a window manager takes full-screen requests

// Does a window manager run that takes full-screen requests
// (_NET_WM_STATE_FULLSCREEN among the root window's _NET_SUPPORTED)?
bool ManagerTakesFullScreen() {
  Display* d = glXGetCurrentDisplay();
  if (!d) return false;
  Atom supported = XInternAtom(d, "_NET_SUPPORTED", True);
  Atom full = XInternAtom(d, "_NET_WM_STATE_FULLSCREEN", True);
  if (supported == None || full == None) return false;
  Atom type;
  int format;
  unsigned long n = 0, after = 0;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(d, DefaultRootWindow(d), supported, 0, 4096, False, XA_ATOM, &type, &format, &n, &after,
                         &data) == Success && data) {
    const Atom* atoms = reinterpret_cast<const Atom*>(data);
    for (unsigned long i = 0; i < n && !found; ++i) found = atoms[i] == full;
  }
  if (data) XFree(data);
  return found;
}

LoopCallbacks callbacks = {glutIdle, glutDisplay, glutResize, glutMouse, QuitQuarn};

// After the quit nothing more reaches the game.
void IdleCallback() {
  if (quitting) return;
  NativeKeyboardPoll();
  callbacks.idle();
}

void DisplayCallback() {
  if (quitting) return;
  callbacks.display();
}

void ReshapeCallback(int w, int h) {
  if (quitting) return;
  callbacks.reshape(w, h);
}

void MouseCallback(int button, int state, int x, int y) {
  if (quitting) return;
  NativeKeyboardMouse(button, state);
  callbacks.mouse(button, state, x, y);
}

// Closing the window shuts the game down the same way as the quit key. The
// window is also destroyed when the loop ends after a quit: nothing more then.
void CloseCallback() {
  if (!quitting) callbacks.close();
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
    managerFullScreen = ManagerTakesFullScreen();
    return long(glXGetCurrentDrawable());
  }
  void RegisterCallbacks() override {
    glutDisplayFunc(DisplayCallback);
    glutReshapeFunc(ReshapeCallback);
    glutMouseFunc(MouseCallback);
    glutIdleFunc(IdleCallback);
    glutCloseFunc(CloseCallback);
  }
  void MainLoop() override { glutMainLoop(); }
  // Where no window manager takes the request, freeglut moves the window by
  // minus its offset in the manager's frame; with no manager at all that
  // offset is the window's place on the screen, so after the window key the
  // picture would land at (-32, -32). There the window is put over the
  // whole screen directly.
  void FullScreen() override {
    if (managerFullScreen) {
      glutFullScreen();
      return;
    }
    glutPositionWindow(0, 0);
    glutReshapeWindow(glutGet(GLUT_SCREEN_WIDTH), glutGet(GLUT_SCREEN_HEIGHT));
  }
  void ReshapeWindow(int w, int h) override { glutReshapeWindow(w, h); }
  void PositionWindow(int x, int y) override { glutPositionWindow(x, y); }
  void PostRedisplay() override { glutPostRedisplay(); }
  void Quit() override {
    quitting = true;
    glutLeaveMainLoop();
  }
};

}  // namespace

void SetLoopCallbacks(const LoopCallbacks& c) { callbacks = c; }

Window* NativeWindow() {
  static GlutWindow w;
  return &w;
}
