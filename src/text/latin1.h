#pragma once

// File contents are 8-bit text, shown as Latin-1; what the user reads and types on screen is
// UTF-8. These two turn one into the other where file text meets the screen.

#include <string>
#include <string_view>

namespace hextant {

/// The Latin-1 bytes of `text` as UTF-8 (every byte is one character).
std::string Latin1ToUtf8(std::string_view text);

/// The UTF-8 `text` as Latin-1 bytes; a character Latin-1 lacks, or a malformed byte, becomes "?".
std::string Utf8ToLatin1(std::string_view text);

}  // namespace hextant
