#pragma once

// A reader under test: its settings, scripted platform and the outputs, with helpers to run a
// reader on text and to check the failure it reports.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "fakes/platform_fakes.h"
#include "readers/converter_frame.h"
#include "readers/reader_support.h"

namespace hextant::test {

class ReaderTest : public ::testing::Test {
 protected:
  bool Read(StreamReader reader, const std::string& bytes) {
    std::istringstream in(bytes);
    ReaderEnvironment env{settings_, progress_, messages_};
    failure_ = Status::Ok();
    messages_.shown.clear();
    return reader(in, bytes.size(), env, output_, &failure_);
  }

  /// The read must fail with `number`, a description holding `why` and one message box: the
  /// format error's fixed text, or "Unhandler Error in " + `procedure`.
  void ExpectFailure(StreamReader reader, const std::string& bytes, int number,
                     const std::string& why, const std::string& procedure) {
    EXPECT_FALSE(Read(reader, bytes)) << why;
    EXPECT_EQ(failure_.Number(), number) << failure_.Description();
    EXPECT_NE(failure_.Description().find(why), std::string::npos) << failure_.Description();
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(messages_.shown[0].Text,
              number == ReaderFormatError
                  ? "Unable to compute the selected file"
                  : "Unhandler Error in " + procedure + "\r\n" + failure_.Description());
  }

  const PointList& Points() const { return settings_.PointList; }

  ConversionSettings settings_;
  ScriptedMessageBoxes messages_;
  RecordingPage page_;
  ReadProgress progress_{page_, page_};
  ReaderOutput output_;
  Status failure_ = Status::Ok();
};

}  // namespace hextant::test
