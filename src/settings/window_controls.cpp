#include "settings/window_controls.h"

namespace hextant {

std::string ComboBox::Text() const {
  if (ListIndex < 0 || static_cast<std::size_t>(ListIndex) >= Items.size()) {
    return EditText;
  }
  return Items[static_cast<std::size_t>(ListIndex)];
}

}  // namespace hextant
