#pragma once
// The state of the modifier keys at the moment a command runs (not the state carried by an
// event): Control appends, Shift on a drop adds media, Control with Shift at start skips the
// ini file.

namespace platform {

enum class Key { LeftControl, RightControl, LeftShift, RightShift, LeftAlt, RightAlt };

class IKeyState {
 public:
  virtual ~IKeyState() = default;
  virtual bool IsDown(Key key) const = 0;
  // Whether the two sides are told apart. Without that, a test of "left and right" pairs
  // becomes "both held" (see SameSidePairDown).
  virtual bool DistinguishesSides() const = 0;

  bool ControlDown() const { return IsDown(Key::LeftControl) || IsDown(Key::RightControl); }
  bool ShiftDown() const { return IsDown(Key::LeftShift) || IsDown(Key::RightShift); }
  bool AltDown() const { return IsDown(Key::LeftAlt) || IsDown(Key::RightAlt); }
  // Left Control with left Shift, or right Control with right Shift.
  bool ControlShiftSameSide() const {
    return (IsDown(Key::LeftControl) && IsDown(Key::LeftShift)) ||
           (IsDown(Key::RightControl) && IsDown(Key::RightShift));
  }
};

// The key state the program reads. On X11 it reads the keymap, so left and right keys are
// told apart; elsewhere it asks Qt for the modifiers and reports a held modifier as both sides.
IKeyState& KeyState();
// Replaces the key state (tests); nullptr restores the real one.
void SetKeyState(IKeyState* state);

// A key state set by hand, for tests.
class FakeKeyState : public IKeyState {
 public:
  bool IsDown(Key key) const override { return down_[static_cast<int>(key)]; }
  bool DistinguishesSides() const override { return true; }
  void Set(Key key, bool down) { down_[static_cast<int>(key)] = down; }
  void Clear() {
    for (bool& d : down_) d = false;
  }

 private:
  bool down_[6] = {};
};

}  // namespace platform
