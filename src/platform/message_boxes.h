#pragma once

#include <string>

namespace hextant {

enum class MessageIcon { None, Critical, Exclamation, Question, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

/// A modal message box: title, text, icon and buttons.
struct Message {
  std::string Title;
  std::string Text;
  MessageIcon Icon = MessageIcon::Critical;
  MessageButtons Buttons = MessageButtons::Ok;
  /// Why, where the text says only what: shown below the text ("" for none).
  std::string Detail = {};
};

/// How the logic shows a message to the user and waits for the answer.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  /// Shows `message` modally; returns the button the user pressed.
  virtual MessageAnswer Show(const Message& message) = 0;
};

/// The short warning sound a refused entry makes.
class Beeper {
 public:
  virtual ~Beeper() = default;
  virtual void Beep() = 0;
};

}  // namespace hextant
