// Which file on disk a path names, whatever its spelling: how outputs are
// compared with inputs and with each other (FindOverwrittenInput is run in
// the converter's and the window's tests).
#include "files/FileIdentity.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace tesmora {
namespace {

class FileIdentityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("x")));
    ASSERT_EQ(::symlink("x", QFile::encodeName(at("xs")).constData()), 0);
    QFile file(at("x/Generated.sub"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{1}{25}Hello\n");
    file.close();
    ASSERT_EQ(::symlink("Generated.sub", QFile::encodeName(at("x/film.sub")).constData()), 0);
  }
  QString at(const QString& name) const { return dir.filePath(name); }

  QTemporaryDir dir;
};

TEST_F(FileIdentityTest, OneFileOrPlaceHasOneIdentityUnderEverySpelling) {
  // An existing file, through a link to it, another name of its folder, "..".
  const FileIdentity file = IdentityOf(at("x/Generated.sub"));
  EXPECT_TRUE(file.rest.empty());
  for (const char* other :
       {"x/film.sub", "xs/Generated.sub", "xs/film.sub", "x/../xs/./film.sub"}) {
    EXPECT_EQ(IdentityOf(at(other)), file) << other;
  }
  // A file that does not exist yet: its folder, under either name, and its name.
  EXPECT_EQ(IdentityOf(at("x/b.sup")), IdentityOf(at("xs/b.sup")));
  EXPECT_EQ(IdentityOf(at("x/b.sup")), PlaceIn(at("xs"), QStringLiteral("b.sup")));
  EXPECT_EQ(IdentityOf(at("x/new/b.sup")).rest, "new/b.sup");
  EXPECT_NE(IdentityOf(at("x/b.sup")), IdentityOf(at("x/c.sup")));
  EXPECT_NE(IdentityOf(at("x/b.sup")), IdentityOf(at("b.sup")));
  // The place of a name is the name, even where it is a link: writing
  // film.sub replaces the link, not Generated.sub.
  EXPECT_NE(PlaceIn(at("x"), QStringLiteral("film.sub")),
            PlaceIn(at("x"), QStringLiteral("Generated.sub")));
}

}  // namespace
}  // namespace tesmora
