// The keyboard from the X server: the keys down now (XQueryKeymap on the
// window's display) and the keys pressed between two polls, caught as key
// events on a second connection, so a tap shorter than a frame still counts.
// A press belongs to the frame after it: every poll forgets the presses of the
// frame before, read or not. Keys are told apart by keycode, so the numeric
// keypad's 2 and 8 are not the main row's. A key counts only while the game
// window has the focus.
#include <GL/freeglut.h>
// X11 names its window type Window, as the seam does: renamed here.
#define Window X11Window
#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#undef Window

#include <cstring>

#include "platform/native/native.h"

namespace {

constexpr int MAX_CODES = 2;   // keycodes per virtual key

struct X11Keyboard final : Keyboard {
  Display* dpy = nullptr;      // the window's own connection
  Display* events = nullptr;   // ours, for the key events of the window
  X11Window win = 0;
  bool ready = false;
  uint8_t codes[256][MAX_CODES] = {};   // virtual key -> keycodes (0: none)
  bool pressed[256] = {};               // keycode pressed before this frame's poll
  char keymap[32] = {};                 // keys down at this frame's poll
  bool focused = false;
  bool buttonDown = false;
  bool buttonPressed = false;           // the left button went down before this frame's poll
  bool buttonPending = false;           // ... and since this frame's poll

  void Map(int vk, KeySym a, KeySym b = NoSymbol) {
    KeySym syms[MAX_CODES] = {a, b};
    int n = 0;
    for (KeySym s : syms) {
      if (s == NoSymbol) continue;
      KeyCode kc = XKeysymToKeycode(dpy, s);
      if (kc == 0 || (n > 0 && codes[vk][0] == kc)) continue;
      codes[vk][n++] = kc;
    }
  }

  // Windows virtual-key codes to X keysyms.
  void BuildMap() {
    for (int d = 0; d <= 9; ++d) Map(0x30 + d, XK_0 + d);
    for (int c = 0; c < 26; ++c) Map(0x41 + c, XK_a + c);
    for (int f = 0; f < 12; ++f) Map(VK_F1 + f, XK_F1 + f);
    static const KeySym keypadNav[10] = {XK_KP_Insert, XK_KP_End,  XK_KP_Down, XK_KP_Next,
                                         XK_KP_Left,   XK_KP_Begin, XK_KP_Right, XK_KP_Home,
                                         XK_KP_Up,     XK_KP_Prior};
    for (int d = 0; d <= 9; ++d) Map(0x60 + d, XK_KP_0 + d, keypadNav[d]);
    Map(0x08, XK_BackSpace);
    Map(VK_TAB, XK_Tab);
    Map(VK_RETURN, XK_Return, XK_KP_Enter);
    Map(0x10, XK_Shift_L, XK_Shift_R);
    Map(0x11, XK_Control_L, XK_Control_R);
    Map(0x12, XK_Alt_L, XK_Alt_R);
    Map(VK_ESCAPE, XK_Escape);
    Map(0x20, XK_space);
    Map(0x25, XK_Left);
    Map(0x26, XK_Up);
    Map(0x27, XK_Right);
    Map(0x28, XK_Down);
  }

  bool Init() {
    dpy = glXGetCurrentDisplay();
    win = glXGetCurrentDrawable();
    if (!dpy || !win) return false;
    BuildMap();
    events = XOpenDisplay(DisplayString(dpy));
    if (events) {
      XSelectInput(events, win, KeyPressMask);
      XSync(events, False);
    }
    return true;
  }

  // Our window and the windows that hold it, up to the root (a window
  // manager's frame among them); answers how many.
  int Chain(X11Window (&chain)[8]) {
    int n = 0;
    X11Window at = win, root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    while (n < 8 && at != 0) {
      chain[n++] = at;
      if (!XQueryTree(dpy, at, &root, &parent, &children, &count)) break;
      if (children) XFree(children);
      at = parent;
    }
    return n;
  }

  bool HasFocus() {
    X11Window fw = 0;
    int revert = 0;
    XGetInputFocus(dpy, &fw, &revert);
    if (fw == win) return true;
    if (fw == None) return false;
    // The focus follows the pointer, or rests on a window that holds ours (the
    // root, a frame): the keys come to us while the pointer is over our window.
    X11Window chain[8];
    int n = Chain(chain);
    bool holds = fw == PointerRoot;
    for (int k = 0; k < n; ++k) holds |= chain[k] == fw;
    if (!holds || n < 2) return false;
    X11Window root, child;
    int rx, ry, wx, wy;
    unsigned mask;
    // chain[n - 1] is the root; chain[n - 2] the top-level window that holds ours
    return XQueryPointer(dpy, chain[n - 1], &root, &child, &rx, &ry, &wx, &wy, &mask) &&
           child == chain[n - 2];
  }

  void Poll() {
    if (!ready && !(ready = Init())) return;
    std::memset(pressed, 0, sizeof pressed);
    buttonPressed = buttonPending;
    buttonPending = false;
    while (events && XPending(events)) {
      XEvent e;
      XNextEvent(events, &e);
      if (e.type == KeyPress) pressed[e.xkey.keycode & 255] = true;
    }
    XQueryKeymap(dpy, keymap);
    focused = HasFocus();
    X11Window r, child;
    int rx, ry, wx, wy;
    unsigned mask = 0;
    XQueryPointer(dpy, win, &r, &child, &rx, &ry, &wx, &wy, &mask);
    buttonDown = (mask & Button1Mask) != 0;
  }

  // Like the Windows call: bit 15 while the key is down, bit 0 when it was
  // pressed before this frame's poll (and after the previous one).
  int KeyState(int vk) override {
    if (vk < 0 || vk > 255 || !ready) return 0;
    int state = 0;
    if (vk == VK_LBUTTON) {
      state = (buttonDown ? 0x8000 : 0) | (buttonPressed ? 1 : 0);
    } else {
      for (uint8_t kc : codes[vk]) {
        if (kc == 0) continue;
        if (keymap[kc >> 3] & (1 << (kc & 7))) state |= 0x8000;
        if (pressed[kc]) state |= 1;
      }
    }
    return focused ? state : 0;
  }
};

X11Keyboard& TheKeyboard() {
  static X11Keyboard k;
  return k;
}

}  // namespace

Keyboard* NativeKeyboard() { return &TheKeyboard(); }

void NativeKeyboardPoll() { TheKeyboard().Poll(); }

void NativeKeyboardMouse(int button, int state) {
  if (button == GLUT_LEFT_BUTTON && state == GLUT_DOWN) TheKeyboard().buttonPending = true;
}
