// The window in a page: the canvas, and the browser's animation frames as the
// event loop. Each animation frame runs the game's whole frames that are due
// by the game's clock (the idle pass, then the display pass, which also moves
// the world), several when the browser shows fewer frames than the game
// runs, and draws only the last of them, the one the browser shows. The
// canvas keeps the window's size; in full screen it takes the screen's, and
// the game hears of every change as a reshape. Mouse buttons on the canvas
// reach the game's mouse callback at the canvas pixel under the pointer.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>

#include "game.h"
#include "platform/web/web.h"

namespace {

constexpr double FRAME_MS = 8;        // the game's own frame wait, to foresee the last frame due
constexpr int MAX_FRAMES = 12;        // at most this many frames in one animation frame
constexpr double BEHIND_MS = 100;     // further behind than this, the game's time jumps

bool created = false;
bool quitting = false;

// clang-format off
EM_JS(void, PageCanvasSize, (int w, int h), {
  var c = document.getElementById('canvas');
  c.style.width = w + 'px';
  c.style.height = h + 'px';
});
EM_JS(void, PageFullScreen, (), {
  var c = document.getElementById('canvas');
  if (document.fullscreenElement !== c && c.requestFullscreen)
    c.requestFullscreen().catch(function() {});   // refused without a key or click
});
EM_JS(void, PageLeaveFullScreen, (), {
  if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
});
EM_JS(void, PageNoWebGL, (), { if (Module.page) Module.page.noWebGL(); });
EM_JS(void, PageEnded, (), { if (Module.page) Module.page.ended(); });
// clang-format on

// The canvas's drawing size follows its size on the page (the window's size,
// or the screen's in full screen); the game hears of every change.
void FitCanvas() {
  double cw = 0, ch = 0;
  emscripten_get_element_css_size("#canvas", &cw, &ch);
  double ratio = emscripten_get_device_pixel_ratio();
  int w = int(std::lround(cw * ratio)), h = int(std::lround(ch * ratio)), bw = 0, bh = 0;
  emscripten_get_canvas_element_size("#canvas", &bw, &bh);
  if (w == bw && h == bh) return;
  emscripten_set_canvas_element_size("#canvas", w, h);
  glutResize(w, h);
}

// The canvas pixel under the pointer.
void CanvasPixel(const EmscriptenMouseEvent* e, int* x, int* y) {
  double cw = 1, ch = 1;
  int bw = 0, bh = 0;
  emscripten_get_element_css_size("#canvas", &cw, &ch);
  emscripten_get_canvas_element_size("#canvas", &bw, &bh);
  *x = cw > 0 ? int(std::floor(double(e->targetX) * bw / cw)) : 0;
  *y = ch > 0 ? int(std::floor(double(e->targetY) * bh / ch)) : 0;
}

EM_BOOL MouseButton(int type, const EmscriptenMouseEvent* e, void*) {
  if (quitting || e->button > 2) return EM_FALSE;
  bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
  int x, y;
  CanvasPixel(e, &x, &y);
  WebKeyboardMouse(e->button, down);
  glutMouse(e->button, down ? 0 : 1, x, y);   // GLUT_DOWN, GLUT_UP
  return EM_TRUE;
}

void Ended() {
  emscripten_cancel_main_loop();
  KeepWrittenMap();
  PageEnded();
}

void AnimationFrame() {
  if (quitting) return;
  FitCanvas();
  double now = emscripten_get_now();
  if (now - WebClockNow() > BEHIND_MS) WebClockSet(std::floor(now));   // a hidden page, a slow machine
  int due = now >= WebClockNow() ? int((now - WebClockNow()) / FRAME_MS) + 1 : 0;
  if (due > MAX_FRAMES) due = MAX_FRAMES;
  for (int k = 0; k < MAX_FRAMES && WebClockNow() <= now; ++k) {
    WebDrawPresenting(k + 1 >= due);
    WebKeyboardPoll();
    glutIdle();
    if (quitting) break;
    glutDisplay();
  }
  WebDrawPresenting(true);
  if (quitting) Ended();
  else KeepWrittenMap();
}

struct PageWindow final : Window {
  long Create(const char* title, int w, int h) override {
    emscripten_set_window_title(title);
    PageCanvasSize(w, h);
    emscripten_set_canvas_element_size("#canvas", w, h);
    long handle = WebDrawContext();
    created = handle != 0;
    if (!created) draw = NullDraw();
    return handle;
  }
  void RegisterCallbacks() override {
    emscripten_set_mousedown_callback("#canvas", nullptr, EM_TRUE, MouseButton);
    emscripten_set_mouseup_callback("#canvas", nullptr, EM_TRUE, MouseButton);
    WebKeyboardListen();
  }
  // Runs the animation frames; the page goes on after this returns.
  void MainLoop() override {
    if (!created) {
      PageNoWebGL();
      return;
    }
    int bw = 0, bh = 0;
    emscripten_get_canvas_element_size("#canvas", &bw, &bh);
    glutResize(bw, bh);   // the window's first reshape, as it is shown
    FitCanvas();
    WebClockSet(std::floor(emscripten_get_now()));
    emscripten_set_main_loop(AnimationFrame, 0, 0);
  }
  // Only a key or a click lets a page go full screen: the request at start-up
  // is refused, F9 is granted.
  void FullScreen() override { PageFullScreen(); }
  void ReshapeWindow(int w, int h) override {
    PageLeaveFullScreen();
    PageCanvasSize(w, h);
  }
  void PositionWindow(int, int) override {}   // a page has no place on the screen to move to
  void PostRedisplay() override {}            // every idle pass is followed by its display pass
  void Quit() override { quitting = true; }
};

}  // namespace

Window* WebWindow() {
  static PageWindow w;
  return &w;
}

bool WebGameRunning() { return created && !quitting; }

// The page is being closed: the game shuts down as when its window is closed.
extern "C" EMSCRIPTEN_KEEPALIVE void web_page_closing() {
  if (!WebGameRunning()) return;
  QuitQuarn();
  Ended();
}

// Painting not yet saved, for the page to ask before it is left; once the game
// has ended it is kept beside the map.
extern "C" EMSCRIPTEN_KEEPALIVE int web_unsaved_painting() {
  return WebGameRunning() ? EditorState.unsaved : 0;
}
