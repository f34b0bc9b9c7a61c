#include "platform/keystate.h"

// Qt before Xlib: Xlib's macros (Bool, Status, None) break Qt headers included after it.
#include <QGuiApplication>
// clang-format off
#include <X11/Xlib.h>
#include <X11/keysym.h>
// clang-format on

namespace platform {
namespace {

Display* X11Display() {
  if (auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
    return x11->display();
  return nullptr;
}

class SystemKeyState : public IKeyState {
 public:
  bool IsDown(Key key) const override {
    if (Display* display = X11Display()) {
      char keys[32] = {};
      XQueryKeymap(display, keys);
      const KeyCode code = XKeysymToKeycode(display, Sym(key));
      return code != 0 && (keys[code / 8] & (1 << (code % 8))) != 0;
    }
    if (!qGuiApp) return false;
    const Qt::KeyboardModifiers mods = QGuiApplication::queryKeyboardModifiers();
    switch (key) {
      case Key::LeftControl:
      case Key::RightControl:
        return mods & Qt::ControlModifier;
      case Key::LeftShift:
      case Key::RightShift:
        return mods & Qt::ShiftModifier;
      case Key::LeftAlt:
      case Key::RightAlt:
        return mods & Qt::AltModifier;
    }
    return false;
  }
  bool DistinguishesSides() const override { return X11Display() != nullptr; }

 private:
  static KeySym Sym(Key key) {
    switch (key) {
      case Key::LeftControl:
        return XK_Control_L;
      case Key::RightControl:
        return XK_Control_R;
      case Key::LeftShift:
        return XK_Shift_L;
      case Key::RightShift:
        return XK_Shift_R;
      case Key::LeftAlt:
        return XK_Alt_L;
      case Key::RightAlt:
        return XK_Alt_R;
    }
    return NoSymbol;
  }
};

SystemKeyState systemKeyState;
IKeyState* current = nullptr;

}  // namespace

IKeyState& KeyState() { return current ? *current : systemKeyState; }
void SetKeyState(IKeyState* state) { current = state; }

}  // namespace platform
