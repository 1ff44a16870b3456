// The user guide's pictures come from the release: each carries, as its PNG text "Version", the
// version its main window shows (hextant-screenshots writes it).
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

namespace hextant::test {
namespace {

TEST(Screenshots, ShowTheProgramsVersion) {
  const QDir folder(HEXTANT_SCREENSHOTS_DIR);
  const QStringList pictures = folder.entryList({"*.png"}, QDir::Files);
  ASSERT_FALSE(pictures.isEmpty()) << HEXTANT_SCREENSHOTS_DIR;
  for (const QString& name : pictures) {
    const QImage picture(folder.filePath(name));
    ASSERT_FALSE(picture.isNull()) << name.toStdString();
    EXPECT_EQ(picture.text("Version").toStdString(), HEXTANT_VERSION_TEXT)
        << name.toStdString() << " is from another version: `make screenshots` draws it again";
  }
}

}  // namespace
}  // namespace hextant::test
