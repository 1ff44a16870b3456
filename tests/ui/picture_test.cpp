// The picture of a model: its size, nodes without value transparent, the legend below; and the
// results dialog showing it under the fields it always had.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cmath>

#include "hdmfile/hdm_layout.h"
#include "hdmfile/model_writer.h"
#include "temp_dir.h"
#include "ui/model_picture.h"
#include "ui/results_dialog.h"

namespace hextant::test {
namespace {

TEST(ModelPicture, HasTheRasterSizeAndLeavesNodesWithoutValueTransparent) {
  hdm::HdmModel m;
  m.coordinateType = m.bodyFlags = 2;
  m.resolutionCode = 1;
  m.rows = 2;
  m.nodes = 8;  // 4 columns, 10 m apart, 2 rows 10 m apart
  m.spacingX = m.spacingY = 10;
  m.codes = {0, 100, 200, 300, 400, 500, hdm::kNullCode, 700};
  hdm::HdmMemoryNodes nodes(m);
  const struct { int width, mapHeight; } cases[] = {{400, 200}, {64, 32}, {17, 9}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    hdm::ModelRaster raster;
    std::string error;
    ASSERT_TRUE(hdm::SampleRaster(nodes, c.width, 10000, raster, error)) << error;
    EXPECT_EQ(raster.height, c.mapHeight);
    EXPECT_DOUBLE_EQ(raster.minimum, 0.0);
    EXPECT_DOUBLE_EQ(raster.maximum, 0.7);
    const QImage picture = ui::RenderModelPicture(raster);
    EXPECT_EQ(picture.width(), c.width);
    EXPECT_EQ(picture.height(), c.mapHeight + ui::LegendHeight(c.width));
    // North row first: the node without value is column 2 of the top row.
    const int x2 = c.width * 5 / 8, top = c.mapHeight / 4, bottom = c.mapHeight * 3 / 4;
    EXPECT_EQ(qAlpha(picture.pixel(x2, top)), 0);
    EXPECT_EQ(qAlpha(picture.pixel(0, top)), 255);
    EXPECT_EQ(picture.pixel(0, bottom), qRgba(0x44, 0x01, 0x54, 255));  // the lowest: viridis 0
    EXPECT_EQ(picture.pixel(c.width - 1, top), qRgba(0xfd, 0xe7, 0x25, 255));  // the highest
    EXPECT_EQ(qAlpha(picture.pixel(0, picture.height() - 1)), 255);  // the legend is opaque
  }
  std::string error;
  EXPECT_TRUE(ui::ModelPicture("/no/such/model.HDM", 100, 100, error).isNull());
  EXPECT_NE(error.find("cannot be opened"), std::string::npos) << error;
}

// The read-back sentence and the picture stand below the fields, each only when there is one.
TEST(ResultsDialog, ShowsTheReadBackAndThePictureBelowTheFields) {
  TempDir dir;
  const std::string path = dir.File("model.HDM");
  ASSERT_EQ(WriteModel(path, TestModel{}).points, HDM_OK);
  for (const std::string& file : {path, dir.File("missing.HDM")}) {
    SCOPED_TRACE(file);
    const std::string readBack = file == path ? "every node within 0.5 mm of the source" : "";
    int pictureRow = -1, okRow = -1, unitsRow = -1, readBackRow = -1;
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      auto* grid = qobject_cast<QGridLayout*>(dialog->layout());
      int span = 0, column = 0;
      const auto rowOf = [&](const char* name) {
        int row = -1;
        if (auto* widget = dialog->findChild<QWidget*>(name)) {
          grid->getItemPosition(grid->indexOf(widget), &row, &column, &span, &span);
        }
        return row;
      };
      unitsRow = rowOf("Label2(4)");
      pictureRow = rowOf("Picture_Model");
      readBackRow = rowOf("Label_ReadBack");
      if (auto* label = dialog->findChild<QLabel*>("Label_ReadBack")) {
        EXPECT_EQ(label->text().toStdString(), "Read back: " + readBack);
      }
      okRow = rowOf("Command_OK");
      if (auto* label = dialog->findChild<QLabel*>("Picture_Model")) {
        EXPECT_EQ(label->pixmap().width(), ui::kResultsPictureWidth);
      }
      dialog->findChild<QPushButton*>("Command_OK")->click();
    });
    ui::QtResultsDialog results;
    results.Show(ResultsTexts{" Information", file, " 6", " 2", " 3", "mm", readBack});
    EXPECT_EQ(unitsRow, 4);
    if (file == path) {
      EXPECT_EQ(readBackRow, 5);
      EXPECT_EQ(pictureRow, 6);
      EXPECT_EQ(okRow, 7);
    } else {
      EXPECT_EQ(readBackRow, -1);  // neither read back nor a model: the dialog as it always was
      EXPECT_EQ(pictureRow, -1);
      EXPECT_EQ(okRow, 5);
    }
  }
}

}  // namespace
}  // namespace hextant::test
