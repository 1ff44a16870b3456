#pragma once

// Plain models of the widgets the windows are made of: what a toolkit draws and what the logic
// reads and sets. A control is usable only when it and every group around it are enabled and
// visible.

#include <cstdint>
#include <string>
#include <vector>

namespace hextant {

struct Control {
  std::string Name;
  bool Enabled = true;
  bool Visible = true;
};
struct Label : Control {
  std::string Caption;
};
struct Frame : Control {
  std::string Caption;
};
struct Button : Control {
  std::string Caption;
};
struct OptionButton : Control {
  std::string Caption;
  bool Value = false;
};
struct CheckBox : Control {
  std::string Caption;
  bool Value = false;
};
struct TextBox : Control {
  std::string Text;
  std::string ToolTip;
  std::size_t MaxLength = 0;  // 0: no limit
};
struct ComboBox : Control {
  std::vector<std::string> Items;
  std::int16_t ListIndex = -1;
  std::string EditText;  // what an editable combo box shows when no entry is selected
  /// The visible text: the selected item, or the edit text with no selection.
  std::string Text() const;
};

/// The answer to a user action: accepted, or refused with a reason that names the control.
struct ActionResult {
  bool Accepted = true;
  std::string Reason;

  static ActionResult Ok() { return {}; }
  static ActionResult Refused(std::string reason) { return {false, std::move(reason)}; }
};

}  // namespace hextant
