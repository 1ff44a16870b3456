// The user guide's pictures come from the release: each carries, as its PNG text "Version", the
// version its main window shows (hextant-screenshots writes it).
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

namespace hextant::test {
namespace {

// Linux's pictures (`make screenshots`) and Windows' (`make screenshots-windows`).
TEST(Screenshots, ShowTheProgramsVersion) {
  for (const char* system : {"", "/windows"}) {
    const QDir folder(QString(HEXTANT_SCREENSHOTS_DIR) + system);
    const QStringList pictures = folder.entryList({"*.png"}, QDir::Files);
    ASSERT_FALSE(pictures.isEmpty()) << folder.path().toStdString();
    for (const QString& name : pictures) {
      const std::string path = folder.filePath(name).toStdString();
      const QImage picture(folder.filePath(name));
      ASSERT_FALSE(picture.isNull()) << path;
      EXPECT_EQ(picture.text("Version").toStdString(), HEXTANT_VERSION_TEXT)
          << path << " is from another version: draw it again";
    }
  }
}

}  // namespace
}  // namespace hextant::test
