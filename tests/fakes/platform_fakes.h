#pragma once

// Scripted stand-ins for the platform interfaces: they record what the logic showed and answer
// from a script, so tests can drive the logic without windows.

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/conversion_page.h"
#include "platform/file_dialogs.h"
#include "platform/message_boxes.h"

namespace hextant::test {

class ScriptedMessageBoxes : public MessageBoxes {
 public:
  MessageAnswer Show(const Message& message) override {
    shown.push_back(message);
    if (answers.empty()) {
      return message.Buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::vector<Message> shown;
  std::deque<MessageAnswer> answers;  // empty: OK, or No for a Yes/No question
};

class ScriptedFileDialogs : public FileDialogs {
 public:
  std::optional<std::filesystem::path> ChooseOpenFile(const FileDialogRequest& request) override {
    return Answer(openRequests, openAnswers, request);
  }
  std::optional<std::filesystem::path> ChooseSaveFile(const FileDialogRequest& request) override {
    return Answer(saveRequests, saveAnswers, request);
  }

  std::vector<FileDialogRequest> openRequests, saveRequests;
  std::deque<std::optional<std::filesystem::path>> openAnswers, saveAnswers;  // empty: cancelled

 private:
  static std::optional<std::filesystem::path> Answer(
      std::vector<FileDialogRequest>& requests,
      std::deque<std::optional<std::filesystem::path>>& answers, const FileDialogRequest& request) {
    requests.push_back(request);
    if (answers.empty()) {
      return std::nullopt;
    }
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class CountingBeeper : public Beeper {
 public:
  void Beep() override { ++beeps; }
  int beeps = 0;
};

class RecordingPage : public ProgressDisplay, public EventLoop, public ResultsDialog {
 public:
  void ShowProgressBar() override { barShown = true; }
  void SetProgress(int percent) override { percents.push_back(percent); }
  void SetProgressCaption(const std::string& caption) override { progressCaption = caption; }
  void SetStatus(const std::string& caption) override { status = caption; }
  void Yield() override {
    ++yields;
    if (onYield) {
      onYield();
    }
  }
  void Show(const ResultsTexts& texts) override { results.push_back(texts); }

  bool barShown = false;
  std::vector<int> percents;
  std::string progressCaption, status;
  int yields = 0;
  std::function<void()> onYield;  // what the user does while the event loop runs
  std::vector<ResultsTexts> results;
};

}  // namespace hextant::test
