#pragma once

// Small operations on the main window's arrays of controls (option groups, label pairs).

#include <array>
#include <cstddef>
#include <string_view>

#include "settings/window_controls.h"

namespace hextant {

template <std::size_t N>
int SelectedIndex(const std::array<OptionButton, N>& options) {
  for (std::size_t i = 0; i < N; ++i) {
    if (options[i].Value) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

template <std::size_t N>
void Select(std::array<OptionButton, N>& options, int index) {
  for (std::size_t i = 0; i < N; ++i) {
    options[i].Value = static_cast<int>(i) == index;
  }
}

template <typename T, std::size_t N>
void EnableAll(std::array<T, N>& controls, bool enabled) {
  for (auto& control : controls) {
    control.Enabled = enabled;
  }
}

template <typename T>
void SetPair(std::array<T, 2>& labels, std::string_view first, std::string_view second) {
  labels[0].Caption.assign(first.data(), first.size());
  labels[1].Caption.assign(second.data(), second.size());
}

}  // namespace hextant
