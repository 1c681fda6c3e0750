// The exact streams of the example files in a few styles, as SHA-256 of
// Generated.sup. They hold the bytes still while the reader, the renderer and
// the encoder change: a change that moves a pixel must update a hash here on
// purpose and say why in its commit message. The hashes are those of the
// Debian 12 fonts that scripts/install-deps.sh puts in place.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QTemporaryDir>

#include "tests/tools/CliHarness.h"

namespace tesmora {
namespace {

struct GoldenCase {
  const char* file;
  QStringList options;
  const char* sha256;
};

QString Example(const char* name) {
  return QStringLiteral(TESMORA_EXAMPLES_DIR "/") + QLatin1String(name);
}

TEST(GoldenOutput, ExampleStreamsKeepTheirBytes) {
  const GoldenCase cases[] = {
      {"harbour.srt", {}, "92ad0b85f475b2ad7b2d6ca518fd1942c525958c1a07e3069722750338aa63ee"},
      {"harbour.srt",
       {"--outline", "2"},
       "86fc6d84a7476d49fa2b81cacd78c23b8d5539a1c708788b0a6ac25251b799c6"},
      {"harbour.srt",
       {"--outline", "4"},
       "33fe9b18a65f27d62662a92d4c0d31a18929a9a7f7daf23c6f6b9e2efddfc0b7"},
      {"harbour.srt",
       {"--style", "Bold+Italic"},
       "bb673e8a83821814a9a8355df06c015dbf001a56d2e80efa6f528191b0380d5b"},
      {"harbour.srt",
       {"--standard", "ntsc", "--size", "26", "--style", "Bold"},
       "d1abb22b9d242ff8478b18f4e1da45dadf22153cd73a8dd9bf2a57999cdebd09"},
      {"harbour.srt",
       {"--ifo", Example("VTS_01_0.IFO")},
       "20042818f464e84f150f2b48b6ed0e2f13135112a63c1dbe89ba7b90772fa01d"},
      {"harbour.srt",
       {"--align", "left", "--offset", "60"},
       "b94587a649dec655153cbb259e47843e2eb2104cefcc15f006526559c8120464"},
      {"harbour.sub", {}, "175c263392470ce94d5e9536177a208c85f2a1c2f3a589dcec0b6ee1659669de"},
      {"harbour.sub",
       {"--standard", "ntsc"},
       "3ec1c852e0dca5f4caf5b87f50dacc038b1e1b97f84ccf0a957b604fbfa54141"},
  };
  for (const GoldenCase& golden : cases) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QStringList arguments = QStringList{"--quiet", "--output-dir", dir.path()} +
                                  golden.options + QStringList{Example(golden.file)};
    const auto outcome = testing::RunConverter(arguments);
    const QString what = golden.file + QLatin1Char(' ') + golden.options.join(QLatin1Char(' '));
    ASSERT_EQ(outcome.code, 0) << what.toStdString() << "\n" << outcome.err;
    const QByteArray stream = testing::ReadBytes(dir.filePath("Generated.sup"));
    EXPECT_EQ(QCryptographicHash::hash(stream, QCryptographicHash::Sha256).toHex().toStdString(),
              golden.sha256)
        << what.toStdString();
  }
}

}  // namespace
}  // namespace tesmora
