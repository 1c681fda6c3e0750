// The exact streams of the example files in a few styles, as SHA-256 of
// Generated.sup, and every file written for two small films holding markup,
// a three-line cue, overlapping and out-of-order cues. They hold the bytes still while the reader,
// the renderer and the encoder change: a change that moves a pixel must update a hash here on
// purpose and say why in its commit message. The hashes are those of the
// Debian 12 fonts that scripts/install-deps.sh puts in place.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <utility>
#include <vector>

#include "tests/cli/CliHarness.h"

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

std::string Sha256(const QByteArray& bytes) {
  return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().toStdString();
}

// A UTF-8 film with what the readers and the timeline have to sort out:
// italics, a cue raised to the top, three lines in one cue, a cue overlapping
// the one before and a cue given out of time order.
constexpr char kMarkupFilm[] =
    "1\n00:00:01,000 --> 00:00:03,000\n<i>Caf\xc3\xa9 au lait</i> on the pier.\n\n"
    "2\n00:00:04,000 --> 00:00:06,000\n{\\an8}The sign above the door.\n\n"
    "3\n00:00:07,000 --> 00:00:09,500\nOne,\ntwo,\nthree lines at once.\n\n"
    "4\n00:00:09,000 --> 00:00:11,000\nThis one starts before three ends.\n\n"
    "5\n00:00:02,500 --> 00:00:03,800\nGiven last, shown second.\n";

// A MicroDVD film at 23.976 frames a second with italics for one line.
constexpr char kItalicFrames[] =
    "{1}{1}23.976\n"
    "{24}{96}{y:i}Slanted from start to end.\n"
    "{120}{200}{y:i}Slanted first line|Upright second.\n"
    "{220}{300}Plain words again.\n";

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
    EXPECT_EQ(Sha256(stream), golden.sha256) << what.toStdString();
  }
}

// Written films in each output format: every file the converter writes keeps
// its bytes.
TEST(GoldenOutput, WrittenFilmsKeepTheirBytesInEveryFormat) {
  struct FilmCase {
    const char* name;
    const char* text;
    QStringList options;
    std::vector<std::pair<const char*, const char*>> files;  // file, SHA-256
  };
  const FilmCase cases[] = {
      {"film.srt",
       kMarkupFilm,
       {"--format", "all"},
       {{"film.sup", "2d352267bbbc6f3e21ea0370c1802ab5d0890e1652373cc0ee985b2222773d09"},
        {"film.idx", "56f29d7de8cd1734e0b2f15d0d3c6cd077a88e34eb51cd3e46b6117f670f89b7"},
        {"film.sub", "23274bd5a03a50614ea8d722aa95671800f270c08c5d84b69df525baef96b25f"},
        {"film.rgb", "06894cbcd3854c53baffbe318956b7b309f0597eb2967c13fcc19d418889689f"}}},
      {"frames.sub",
       kItalicFrames,
       {},
       {{"frames.sup", "cc48f2f508a1ea7108bcb8b83cd28af49d69ff8f4cb74448949a6c366b4a85f3"}}},
  };
  for (const FilmCase& film : cases) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString input = dir.filePath(QLatin1String(film.name));
    testing::WriteBytes(input, QByteArray(film.text));
    const QString out = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(out));
    const QString stem = QFileInfo(input).completeBaseName();
    const auto outcome =
        testing::RunConverter(QStringList{"--quiet", "--output-dir", out, "--name", stem} +
                              film.options + QStringList{input});
    ASSERT_EQ(outcome.code, 0) << film.name << "\n" << outcome.err;
    for (const auto& [file, sha256] : film.files) {
      EXPECT_EQ(Sha256(testing::ReadBytes(QDir(out).filePath(QLatin1String(file)))), sha256)
          << film.name << " -> " << file;
    }
  }
}

}  // namespace
}  // namespace tesmora
