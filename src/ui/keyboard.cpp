#include "keyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <algorithm>
#include <functional>

namespace hextant::ui {
namespace {

constexpr const char* kLetter = "hextantMnemonic";
constexpr const char* kCaption = "hextantCaption";
constexpr const char* kShown = "hextantShown";

bool Usable(const QWidget* widget) {
  return widget->isEnabled() && !widget->isHidden();
}

bool IsEnter(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) {
    return false;
  }
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A caption and where it is shown: a button's text or a group's title.
struct Captioned {
  QObject* widget;
  std::function<QString()> get;
  std::function<void(const QString&)> set;
};

// The caption without mnemonic: the widget's text unless it is still the text this code showed.
QString PlainCaption(const Captioned& item) {
  const QString shown = item.get();
  if (shown == item.widget->property(kShown).toString()) {
    return item.widget->property(kCaption).toString();
  }
  return shown;
}

QChar FirstFreeLetter(const QString& caption, const QSet<QChar>& taken) {
  for (const QChar c : caption) {
    const QChar letter = c.toUpper();
    if (letter.unicode() < 128 && letter.isLetterOrNumber() && !taken.contains(letter)) {
      return letter;
    }
  }
  return {};
}

QString Marked(QString caption, QChar letter) {
  caption.replace('&', "&&");
  if (letter.isNull()) {
    return caption;
  }
  const qsizetype at = caption.indexOf(letter, 0, Qt::CaseInsensitive);
  return caption.left(at) + '&' + caption.mid(at);
}

}  // namespace

EnterKey::EnterKey(QWidget* page, QPushButton* defaultButton, std::function<bool()> beforeDefault)
    : QObject(page), defaultButton_(defaultButton), beforeDefault_(std::move(beforeDefault)) {
  defaultButton_->setDefault(true);
  page->installEventFilter(this);
}

bool EnterKey::eventFilter(QObject* watched, QEvent* event) {
  if (!IsEnter(event)) {
    return QObject::eventFilter(watched, event);
  }
  QWidget* focus = QApplication::focusWidget();
  if (std::find(ownEnter_.begin(), ownEnter_.end(), focus) != ownEnter_.end()) {
    return true;  // the box has used the key already
  }
  if (auto* button = qobject_cast<QPushButton*>(focus); button != nullptr && Usable(button)) {
    button->click();
    return true;
  }
  if ((!beforeDefault_ || beforeDefault_()) && Usable(defaultButton_)) {
    defaultButton_->click();
  }
  return true;
}

void OptionGroups::Add(std::vector<QRadioButton*> group) {
  for (QRadioButton* option : group) {
    option->installEventFilter(this);
  }
  groups_.push_back(std::move(group));
}

void OptionGroups::UpdateTabStops() {
  for (const auto& group : groups_) {
    auto stop = std::find_if(group.begin(), group.end(),
                             [](QRadioButton* option) { return option->isChecked(); });
    if (stop == group.end() || !Usable(*stop)) {
      stop = std::find_if(group.begin(), group.end(), Usable);
    }
    for (QRadioButton* option : group) {
      option->setFocusPolicy(stop != group.end() && option == *stop ? Qt::StrongFocus
                                                                    : Qt::ClickFocus);
    }
  }
}

bool OptionGroups::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) {
    return QObject::eventFilter(watched, event);
  }
  const int key = static_cast<QKeyEvent*>(event)->key();
  const int step = (key == Qt::Key_Down || key == Qt::Key_Right) ? 1
                   : (key == Qt::Key_Up || key == Qt::Key_Left)  ? -1
                                                                 : 0;
  if (step == 0) {
    return QObject::eventFilter(watched, event);
  }
  for (const auto& group : groups_) {
    const auto at = std::find(group.begin(), group.end(), watched);
    if (at == group.end()) {
      continue;
    }
    const auto size = static_cast<std::ptrdiff_t>(group.size());
    std::ptrdiff_t index = at - group.begin();
    for (std::ptrdiff_t tried = 1; tried < size; ++tried) {
      index = (index + step + size) % size;
      QRadioButton* next = group[static_cast<std::size_t>(index)];
      if (Usable(next)) {
        next->setFocus(Qt::TabFocusReason);
        next->click();
        break;
      }
    }
    return true;
  }
  return QObject::eventFilter(watched, event);
}

void AssignMnemonics(QWidget* window) {
  std::vector<Captioned> items;
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    items.push_back({button, [button] { return button->text(); },
                     [button](const QString& text) { button->setText(text); }});
  }
  for (QGroupBox* group : window->findChildren<QGroupBox*>()) {
    items.push_back({group, [group] { return group->title(); },
                     [group](const QString& text) { group->setTitle(text); }});
  }
  std::vector<QString> captions;
  std::vector<QChar> letters;
  QSet<QChar> taken;
  // Letters given earlier are kept while their caption still holds them.
  for (const Captioned& item : items) {
    captions.push_back(PlainCaption(item));
    QChar letter = item.widget->property(kLetter).toChar();
    if (letter.isNull() || taken.contains(letter) ||
        !captions.back().contains(letter, Qt::CaseInsensitive)) {
      letter = {};
    }
    taken.insert(letter);
    letters.push_back(letter);
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (letters[i].isNull()) {
      letters[i] = FirstFreeLetter(captions[i], taken);
      taken.insert(letters[i]);
    }
    const QString shown = Marked(captions[i], letters[i]);
    items[i].widget->setProperty(kLetter, letters[i]);
    items[i].widget->setProperty(kCaption, captions[i]);
    items[i].widget->setProperty(kShown, shown);
    if (items[i].get() != shown) {
      items[i].set(shown);
    }
  }
}

}  // namespace hextant::ui
