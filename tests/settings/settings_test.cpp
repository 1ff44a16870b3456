#include <gtest/gtest.h>

#include "settings/conversion_settings.h"

namespace hextant {
namespace {

TEST(EllipsoidTable, HoldsTheTwentySixRowsInListOrder) {
  ConversionSettings settings;
  EXPECT_TRUE(settings.EllipsoidTable.empty()) << "absent until the main window builds it";
  BuildEllipsoidTable(settings);
  const auto& table = settings.EllipsoidTable;
  ASSERT_EQ(table.size(), 26u);

  struct Row {
    std::int16_t code;
    const char* name;
    double a;
    double inverseFlattening;
  };
  const Row rows[] = {
      {1, "ATS - 77", 6378135.0, 298.257},
      {6, "Bessel 1841", 6377397.155, 299.15281285},
      {11, "Everest W.Malaysia/Singap", 6377304.063, 300.8017},
      {16, "GRS 1980", 6378137.0, 298.25722210088},
      {24, "WGS 1984", 6378137.0, 298.25722356},
      {26, "Clarke 1880 IGN", 6378249.2, 293.46602},
  };
  for (const auto& row : rows) {
    const Ellipsoid* e = FindEllipsoid(table, row.code);
    ASSERT_NE(e, nullptr) << row.code;
    EXPECT_EQ(e->Name, row.name);
    EXPECT_EQ(e->SemiMajorAxis, row.a) << row.name;
    EXPECT_EQ(e->InverseFlattening, row.inverseFlattening) << row.name;
  }
  EXPECT_EQ(FindEllipsoid(table, Wgs1984Code)->Name, "WGS 1984");
  EXPECT_EQ(FindEllipsoid(table, 0), nullptr);
  EXPECT_EQ(FindEllipsoid(table, 27), nullptr);
}

}  // namespace
}  // namespace hextant
