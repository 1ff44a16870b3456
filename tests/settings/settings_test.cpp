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

  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(FindEllipsoid(table, static_cast<std::int16_t>(i + 1)), &table[i]) << i;
    EXPECT_GT(table[i].SemiMajorAxis, 6.3e6) << table[i].Name;
  }
  EXPECT_EQ(FindEllipsoid(table, Wgs1984Code)->Name, "WGS 1984");
  EXPECT_EQ(FindEllipsoid(table, 0), nullptr);
  EXPECT_EQ(FindEllipsoid(table, 27), nullptr);
}

}  // namespace
}  // namespace hextant
