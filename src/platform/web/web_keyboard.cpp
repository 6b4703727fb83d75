// The keyboard from the page's key events, named by KeyboardEvent.code (the
// key's place on the keyboard, whatever its layout and NumLock), so the
// numeric keypad's 2 and 8 are not the main row's. As natively, a key answers
// "down now" and "pressed between the previous poll and this one", and a press
// belongs to the frame after it: every poll forgets the presses of the frame
// before, read or not. The keys of the game are kept from the page (Tab does
// not move the focus, F5 does not reload), unless Ctrl, Alt or Meta is held,
// so the browser's own shortcuts still work. When the page loses the focus
// every key is let go.
#include <emscripten/html5.h>

#include <cstdio>
#include <cstring>

#include "platform/web/web.h"

namespace {

constexpr int VK_BACK = 0x08, VK_SHIFT = 0x10, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_SPACE = 0x20;

// The Windows virtual-key code of a KeyboardEvent.code, 0 for none; `second`
// tells the second of two keys with one code (the right Shift, the keypad's
// Enter).
int KeyOfCode(const char* code, int* second) {
  *second = 0;
  int n = 0;
  char c = 0;
  if (std::sscanf(code, "Key%c%n", &c, &n) == 1 && code[n] == 0 && c >= 'A' && c <= 'Z') return c;
  if (std::sscanf(code, "Digit%c%n", &c, &n) == 1 && code[n] == 0 && c >= '0' && c <= '9') return c;
  if (std::sscanf(code, "Numpad%c%n", &c, &n) == 1 && code[n] == 0 && c >= '0' && c <= '9')
    return 0x60 + (c - '0');
  int f = 0;
  if (std::sscanf(code, "F%d%n", &f, &n) == 1 && code[n] == 0 && f >= 1 && f <= 10) return VK_F1 + f - 1;
  static const struct {
    const char* code;
    int vk, second;
  } named[] = {
      {"Enter", VK_RETURN, 0},        {"NumpadEnter", VK_RETURN, 1},   {"Tab", VK_TAB, 0},
      {"Escape", VK_ESCAPE, 0},       {"Space", VK_SPACE, 0},          {"Backspace", VK_BACK, 0},
      {"ArrowLeft", VK_LEFT, 0},      {"ArrowUp", VK_UP, 0},           {"ArrowRight", VK_RIGHT, 0},
      {"ArrowDown", VK_DOWN, 0},      {"ShiftLeft", VK_SHIFT, 0},      {"ShiftRight", VK_SHIFT, 1},
      {"ControlLeft", VK_CONTROL, 0}, {"ControlRight", VK_CONTROL, 1}, {"AltLeft", VK_MENU, 0},
      {"AltRight", VK_MENU, 1},
  };
  for (const auto& k : named)
    if (std::strcmp(code, k.code) == 0) return *second = k.second, k.vk;
  return 0;
}

bool Modifier(int vk) { return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU; }

struct PageKeyboard final : Keyboard {
  // One bit for each of the keys that share a virtual key (the two Shifts,
  // both Returns), so letting go of one leaves the other down.
  uint8_t held[256] = {};
  bool pressed[256] = {};   // pressed before this frame's poll (and after the previous one)
  bool pending[256] = {};   // ... and since this frame's poll
  bool buttonDown = false, buttonPressed = false, buttonPending = false;

  void Poll() {
    std::memcpy(pressed, pending, sizeof pressed);
    std::memset(pending, 0, sizeof pending);
    buttonPressed = buttonPending;
    buttonPending = false;
  }

  void LetGo() {
    std::memset(held, 0, sizeof held);
    std::memset(pending, 0, sizeof pending);
    buttonDown = buttonPending = false;
  }

  // Like the Windows call: bit 15 while the key is down, bit 0 when it was
  // pressed before this frame's poll.
  int KeyState(int vk) override {
    if (vk < 0 || vk > 255) return 0;
    if (vk == VK_LBUTTON) return (buttonDown ? 0x8000 : 0) | (buttonPressed ? 1 : 0);
    return (held[vk] ? 0x8000 : 0) | (pressed[vk] ? 1 : 0);
  }
};

PageKeyboard keys;

EM_BOOL KeyEvent(int type, const EmscriptenKeyboardEvent* e, void*) {
  int second = 0, vk = KeyOfCode(e->code, &second);
  if (vk == 0) return EM_FALSE;
  uint8_t bit = uint8_t(1 << second);
  if (type == EMSCRIPTEN_EVENT_KEYUP) {
    keys.held[vk] &= uint8_t(~bit);
  } else if (!e->repeat) {
    keys.held[vk] |= bit;
    keys.pending[vk] = true;
  }
  return !Modifier(vk) && !e->ctrlKey && !e->altKey && !e->metaKey;
}

EM_BOOL FocusLost(int, const EmscriptenFocusEvent*, void*) {
  keys.LetGo();
  return EM_FALSE;
}

EM_BOOL VisibilityChanged(int, const EmscriptenVisibilityChangeEvent* e, void*) {
  if (e->hidden) keys.LetGo();
  return EM_FALSE;
}

}  // namespace

Keyboard* WebKeyboard() { return &keys; }

void WebKeyboardListen() {
  emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, KeyEvent);
  emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, KeyEvent);
  emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, FocusLost);
  emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, VisibilityChanged);
}

void WebKeyboardPoll() { keys.Poll(); }

void WebKeyboardMouse(int button, bool down) {
  if (button != 0) return;
  keys.buttonDown = down;
  if (down) keys.buttonPending = true;
}
