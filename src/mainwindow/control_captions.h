#pragma once

// How messages name the main window's controls: by what the user sees on screen.

#include <string>

#include "mainwindow/main_window_model.h"

namespace hextant {

/// The caption by which the user knows `control` of `controls`, quoted ("\"Grid\"", "\"Spacing
/// Long\"", "the degrees box of \"Spacing Lat\""), or its object name for a control with none.
std::string DescribeControl(const MainWindowControls& controls, const Control& control);

/// A group's caption, quoted, or its object name when it has none (a group the user cannot see as
/// one).
std::string DescribeGroup(const Frame& group);

}  // namespace hextant
