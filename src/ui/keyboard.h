#pragma once

// Keyboard use of the windows: Enter presses a page's default button as in a dialog, the arrow
// keys move between the options of a group that is one Tab stop, and every button and group
// gets an Alt+letter mnemonic of its own.

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QAbstractButton;
class QPushButton;
class QRadioButton;
class QWidget;

namespace hextant::ui {

/// Enter or Return on `page` presses the focused push button, or else `defaultButton`; widgets in
/// `ownEnter` (a box whose Enter already does something) keep the key. `beforeDefault` runs first
/// and may hold the key back, for example while a number box refuses its text.
class EnterKey : public QObject {
 public:
  EnterKey(QWidget* page, QPushButton* defaultButton, std::function<bool()> beforeDefault = {});

  void KeepEnterIn(QWidget* widget) { ownEnter_.push_back(widget); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPushButton* defaultButton_;
  std::function<bool()> beforeDefault_;
  std::vector<QPointer<QWidget>> ownEnter_;
};

/// Groups of option buttons whose selection the model decides: each group is one Tab stop (its
/// selected option, or its first usable one), and the arrow keys click the next usable option.
class OptionGroups : public QObject {
 public:
  using QObject::QObject;

  void Add(std::vector<QRadioButton*> group);
  /// Moves each group's Tab stop to its selected option; call after drawing the model.
  void UpdateTabStops();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<std::vector<QRadioButton*>> groups_;
};

/// Gives every button and group title under `window` an Alt+letter mnemonic: each widget keeps
/// the letter it got first, and no two widgets of the window share one. Call after drawing the
/// captions, which come without mnemonics.
void AssignMnemonics(QWidget* window);

}  // namespace hextant::ui
