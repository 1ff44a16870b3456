#include "mainwindow/control_captions.h"

namespace hextant {
namespace {

std::string Quoted(const std::string& caption) {
  return "\"" + caption + "\"";
}

template <typename T, std::size_t N>
int IndexIn(const std::array<T, N>& controls, const Control& control) {
  for (std::size_t i = 0; i < N; ++i) {
    if (&controls[i] == &control) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

template <typename T, std::size_t N>
const std::string* CaptionIn(const std::array<T, N>& controls, const Control& control) {
  const int i = IndexIn(controls, control);
  return i < 0 ? nullptr : &controls[static_cast<std::size_t>(i)].Caption;
}

std::string SpacingCaption(const MainWindowControls& c, std::size_t row) {
  return Quoted(c.Label_Spacing[row].Caption + " " + c.Label_Coordinate_Type[row].Caption);
}

std::string BoxOfSpacing(const MainWindowControls& c, const Control& control) {
  const std::pair<const std::array<TextBox, 2>*, const char*> parts[] = {
      {&c.Text_Grados, "degrees"}, {&c.Text_Minutos, "minutes"}, {&c.Text_segundos, "seconds"}};
  for (const auto& [boxes, part] : parts) {
    if (const int row = IndexIn(*boxes, control); row >= 0) {
      return std::string("the ") + part + " box of " +
             SpacingCaption(c, static_cast<std::size_t>(row));
    }
  }
  if (const int row = IndexIn(c.Text_Spacing, control); row >= 0) {
    return SpacingCaption(c, static_cast<std::size_t>(row));
  }
  return {};
}

}  // namespace

std::string DescribeGroup(const Frame& group) {
  return group.Caption.empty() ? group.Name : Quoted(group.Caption);
}

std::string DescribeControl(const MainWindowControls& c, const Control& control) {
  for (const std::string* caption :
       {CaptionIn(c.Option_Coordinate_type, control), CaptionIn(c.Option_Linear_Units, control),
        CaptionIn(c.Option_Angular_units, control), CaptionIn(c.Option_InstrumentType, control)}) {
    if (caption != nullptr) {
      return Quoted(*caption);
    }
  }
  const std::pair<const Control*, const std::string*> named[] = {
      {&c.Option_Local_Side, &c.Option_Local_Side.Caption},
      {&c.Option_HemisphereN, &c.Option_HemisphereN.Caption},
      {&c.Option_HemisphereS, &c.Option_HemisphereS.Caption},
      {&c.Check_Point_code, &c.Check_Point_code.Caption},
      {&c.Command_Change_file, &c.Command_Change_file.Caption},
      {&c.Command_Read_File, &c.Command_Read_File.Caption},
      {&c.Combo_Ellipsoid, &c.Frame_Ellipsoid.Caption},
      {&c.Combo_Filter, &c.Filter.Caption},
      {&c.Combo_Interpolation, &c.Frame_Interpolation.Caption},
  };
  for (const auto& [candidate, caption] : named) {
    if (candidate == &control && !caption->empty()) {
      return Quoted(*caption);
    }
  }
  if (&control == &c.Text_Code_filter) {
    return "the code box of " + DescribeGroup(c.Frame_Point_Code);
  }
  if (std::string box = BoxOfSpacing(c, control); !box.empty()) {
    return box;
  }
  return control.Name;
}

}  // namespace hextant
