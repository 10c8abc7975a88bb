#pragma once
// The keyboard of the main window and the list window: which key runs which
// command of the window's command table, in video-player mode and in DIT
// mode, and which string describes it in the key list (F1). One row per key;
// a new key is one more row in KeyTable.cpp.

#include <vector>

namespace lumora {

struct KeyBinding {
  int key = 0;           // Qt::Key value
  int videoCommand = 0;  // command id in video-player mode, 0: none
  int ditCommand = 0;    // command id in DIT mode, 0: none
  int helpString = 0;    // string id of the key's line in the key list
};

class KeyTable {
 public:
  // The program's keys.
  KeyTable();

  // The command a key press runs, or 0. Presses with Ctrl, Alt or Meta held
  // run nothing (those combinations belong to text fields and the desktop);
  // Shift and the keypad are allowed (plus is Shift+= on many layouts).
  int CommandFor(int key, int modifiers, bool ditMode) const;

  const std::vector<KeyBinding>& Bindings() const { return bindings_; }

 private:
  std::vector<KeyBinding> bindings_;
};

}  // namespace lumora
