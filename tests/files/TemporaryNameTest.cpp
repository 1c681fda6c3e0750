#include "files/TemporaryName.h"

#include <gtest/gtest.h>

namespace tesmora {
namespace {

TEST(TemporaryName, IsTheHiddenTargetNameWithSixLettersOrDigits) {
  EXPECT_EQ(TemporaryNameFor("Generated.sup", 0), ".Generated.sup.tesmora-AAAAAA");
  EXPECT_EQ(TemporaryNameFor("Generated.sup", 1), ".Generated.sup.tesmora-BAAAAA");
  EXPECT_EQ(TemporaryNameFor("Generated.sup", 61 + 62 * 27), ".Generated.sup.tesmora-9bAAAA");
  EXPECT_EQ(TemporaryNameFor("x", ~std::uint64_t{0}).size(), 17u);
}

TEST(TemporaryName, ShortensATargetNameTooLongForTheFolder) {
  const std::string name = TemporaryNameFor(std::string(300, 'n'), 5);
  EXPECT_EQ(name.size(), 255u);
  EXPECT_EQ(name, "." + std::string(239, 'n') + ".tesmora-FAAAAA");
  EXPECT_TRUE(IsTemporaryName(name));
}

TEST(TemporaryName, RecognisesOnlyItsOwnForm) {
  EXPECT_TRUE(IsTemporaryName(".Generated.sup.tesmora-a8Kq2Z"));
  EXPECT_TRUE(IsTemporaryName(".Tesmora_Help_File.txt.tesmora-000000"));
  EXPECT_TRUE(IsTemporaryName(TemporaryNameFor("film.idx", RandomNameBits())));
  EXPECT_FALSE(IsTemporaryName("Generated.sup.tesmora-a8Kq2Z"));   // not hidden
  EXPECT_FALSE(IsTemporaryName("Generated.sup.tesmora-partial"));  // an older name
  EXPECT_FALSE(IsTemporaryName(".Generated.sup.tesmora-a8Kq2"));   // five letters
  EXPECT_FALSE(IsTemporaryName(".Generated.sup.tesmora-a8Kq2Zz"));
  EXPECT_FALSE(IsTemporaryName(".Generated.sup.tesmora-a8-q2Z"));
  EXPECT_FALSE(IsTemporaryName("..tesmora-a8Kq2Z"));  // no target name
  EXPECT_FALSE(IsTemporaryName(".notes"));
  EXPECT_FALSE(IsTemporaryName(""));
}

TEST(TemporaryName, KeptNamesGiveBackTheirTargetAndAreNoTemporaryNames) {
  EXPECT_EQ(KeptNameFor("film.sub", 1), ".film.sub.tesmora-old-BAAAAA");
  EXPECT_EQ(KeptTargetName(KeptNameFor("film.sub", RandomNameBits())), "film.sub");
  EXPECT_EQ(KeptTargetName(".x.tesmora-old.tesmora-old-a8Kq2Z"), "x.tesmora-old");
  EXPECT_FALSE(IsTemporaryName(KeptNameFor("film.sub", 1)));
  EXPECT_EQ(KeptTargetName(TemporaryNameFor("film.sub", 1)), std::nullopt);
  EXPECT_EQ(KeptTargetName(".tesmora-old-a8Kq2Z"), std::nullopt);          // no target name
  EXPECT_EQ(KeptTargetName("film.sub.tesmora-old-a8Kq2Z"), std::nullopt);  // not hidden
  EXPECT_EQ(KeptTargetName(".film.sub.tesmora-old-a8Kq2"), std::nullopt);
  EXPECT_EQ(KeptTargetName(std::string(kFolderLockName)), std::nullopt);
  EXPECT_FALSE(IsTemporaryName(kFolderLockName));
  // A shortened target name cannot be told from another file's name.
  const std::string longest = KeptNameFor(std::string(300, 'n'), 5);
  EXPECT_EQ(longest.size(), 255u);
  EXPECT_EQ(KeptTargetName(longest), std::nullopt);
  EXPECT_EQ(KeptTargetName(KeptNameFor(std::string(234, 'n'), 5)), std::string(234, 'n'));
}

}  // namespace
}  // namespace tesmora
