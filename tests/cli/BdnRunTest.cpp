// tesmora-cli --format bdn: BDN XML whose pictures are exactly those the
// PGS stream of the same run shows, in place of an earlier run's files as a
// whole or not at all.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <map>
#include <span>

#include "pgs/BdnXml.h"
#include "pgs/Colour.h"
#include "pgs/SegmentPayloads.h"
#include "pgs/SegmentTypes.h"
#include "pgs/StreamReader.h"
#include "tests/cli/BluRayTools.h"
#include "tests/cli/CliHarness.h"

namespace tesmora::cli {
namespace {

using testing::Bytes;
using testing::ReadBytes;
using testing::RunConverter;

// The palette indices of a run-length coded object, as a decoder reads
// them; nothing when the lines do not add up.
std::vector<std::uint8_t> DecodeRunLengths(std::span<const std::uint8_t> code, int width,
                                           int height) {
  std::vector<std::uint8_t> indices;
  std::size_t at = 0;
  const auto next = [&] { return at < code.size() ? code[at++] : std::uint8_t{0}; };
  for (int line = 0; line < height; ++line) {
    std::size_t lineStart = indices.size();
    for (;;) {
      const std::uint8_t first = next();
      if (first != 0) {
        indices.push_back(first);
        continue;
      }
      const std::uint8_t flags = next();
      if (flags == 0) {
        break;  // end of line
      }
      std::size_t length = flags & 0x3F;
      if ((flags & 0x40) != 0) {
        length = length << 8 | next();
      }
      const std::uint8_t colour = (flags & 0x80) != 0 ? next() : 0;
      indices.insert(indices.end(), length, colour);
    }
    if (indices.size() - lineStart != static_cast<std::size_t>(width)) {
      return {};
    }
  }
  return indices;
}

struct DecodedObject {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> indices;
};

// What one display set of the stream shows, from its time on.
struct Shown {
  std::uint32_t pts = 0;
  std::vector<DecodedObject> objects;  // none: the screen is cleared
  std::map<int, pgs::payload::PaletteEntry> palette;
};

// Every display set of a stream of ours, decoded as a player shows it.
std::vector<Shown> DecodeStream(const QByteArray& stream) {
  std::vector<Shown> shown;
  std::map<int, DecodedObject> objects;  // by id, kept within an epoch
  std::map<int, pgs::payload::PaletteEntry> palette;
  for (const pgs::DisplaySet& set : pgs::ReadStream(Bytes(stream)).sets) {
    std::optional<pgs::payload::Composition> composition;
    std::uint32_t pts = 0;
    for (const pgs::Segment& segment : set.segments) {
      switch (static_cast<pgs::SegmentType>(segment.type)) {
        case pgs::SegmentType::Composition:
          composition = pgs::payload::ParseComposition(segment.payload).fields;
          pts = segment.pts;
          break;
        case pgs::SegmentType::Palette: {
          const auto parsed = pgs::payload::ParsePalette(segment.payload);
          for (const auto& entry : parsed.fields->entries) {
            palette[entry.index] = entry;
          }
          break;
        }
        case pgs::SegmentType::Object: {
          // Ours fit one segment each at these sizes.
          const auto fragment = *pgs::payload::ParseObjectFragment(segment.payload).fields;
          EXPECT_TRUE(fragment.first && fragment.last);
          objects[fragment.id] = {
              0, 0, fragment.width, fragment.height,
              DecodeRunLengths(fragment.runLengths, fragment.width, fragment.height)};
          break;
        }
        default:
          break;
      }
    }
    Shown now{pts, {}, palette};
    for (const auto& object : composition->objects) {
      DecodedObject placed = objects.at(object.objectId);
      placed.x = object.x;
      placed.y = object.y;
      now.objects.push_back(std::move(placed));
    }
    shown.push_back(std::move(now));
  }
  return shown;
}

class BdnRun : public testing::ConverterFolderTest {
 protected:
  // Every name in the folder, hidden ones included.
  QStringList everything() const {
    return QDir(dir.path())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  }
  QStringList names(const QStringList& all) const {
    QStringList kept;
    for (const QString& name : all) {
      if (name.startsWith(QStringLiteral("film"))) {
        kept << name;
      }
    }
    return kept;
  }
};

// A bottom cue, a top cue shown over it (two objects), and a cue an hour
// in: each set the stream shows is an event whose XML and pictures equal
// the decoded stream's, pixel by pixel after the palette's coding.
TEST_F(BdnRun, PicturesAndTimesEqualTheDecodedStream) {
  const QString film = write("film.srt",
                             "1\n00:00:01,000 --> 00:00:04,000\nHello there\n\n"
                             "2\n00:00:02,000 --> 00:00:03,000\n{\\an8}Up above\n\n"
                             "3\n01:00:00,000 --> 01:00:02,000\nAn hour in\nand two lines\n");
  const auto outcome = RunConverter({"--format", "pgs,bdn", "--name", "film", film});
  ASSERT_EQ(outcome.code, 0) << outcome.err;
  EXPECT_EQ(outcome.out,
            "Blu-ray subtitle streams (PGS) and BDN XML written, each XML with its PNG pictures "
            "beside it; mux the streams with the video, for example with mkvmerge, or import the "
            "XML into a Blu-ray authoring suite.\n\nGenerated Files:\n" +
                folder() + "film.sup\n" + folder() + "film.xml\n");
  EXPECT_EQ(names(entries()),
            (QStringList{"film.srt", "film.sup", "film.xml", "film_0001.png", "film_0002.png",
                         "film_0002_2.png", "film_0003.png", "film_0004.png"}));

  const std::vector<Shown> sets = DecodeStream(ReadBytes(path("film.sup")));
  std::vector<pgs::BdnEvent> events;
  for (std::size_t i = 0; i + 1 < sets.size(); ++i) {
    if (sets[i].objects.empty()) {
      continue;
    }
    const auto frame = [](std::uint32_t pts) {
      return pgs::FrameAt(pts, pgs::FrameRateCode::Film);
    };
    pgs::BdnEvent event{frame(sets[i].pts), frame(sets[i + 1].pts), false, {}};
    const std::string number = std::to_string(10001 + events.size()).substr(1);
    for (std::size_t k = 0; k < sets[i].objects.size(); ++k) {
      const DecodedObject& object = sets[i].objects[k];
      const std::string file = "film_" + number + (k == 0 ? "" : "_2") + ".png";
      event.graphics.push_back({object.width, object.height, object.x, object.y, file});

      const QImage png(path(QString::fromStdString(file)));
      ASSERT_EQ(png.format(), QImage::Format_Indexed8) << file;
      ASSERT_EQ(png.width(), object.width);
      ASSERT_EQ(png.height(), object.height);
      ASSERT_EQ(object.indices.size(), static_cast<std::size_t>(object.width) * object.height);
      int differing = 0;
      for (int y = 0; y < object.height; ++y) {
        for (int x = 0; x < object.width; ++x) {
          const QRgb pixel = png.pixel(x, y);
          const std::uint8_t index = object.indices[static_cast<std::size_t>(y) * object.width + x];
          const pgs::YCrCbA coded = pgs::ToYCrCbA(
              {static_cast<std::uint8_t>(qRed(pixel)), static_cast<std::uint8_t>(qGreen(pixel)),
               static_cast<std::uint8_t>(qBlue(pixel)), static_cast<std::uint8_t>(qAlpha(pixel))},
              pgs::ColourSpace::Bt709);
          const auto& entry = sets[i].palette.at(index);
          const bool same = index == 0
                                ? qAlpha(pixel) == 0
                                : coded == pgs::YCrCbA{entry.y, entry.cr, entry.cb, entry.alpha};
          differing += same ? 0 : 1;
        }
      }
      EXPECT_EQ(differing, 0) << file;
    }
    events.push_back(std::move(event));
  }
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[3].in, 86313);  // 00:59:56:09
  const std::string expected = pgs::BdnXmlText({"film", "und", {}}, events);
  EXPECT_EQ(ReadBytes(path("film.xml")).toStdString(), expected);
}

// A later run with fewer pictures removes those the earlier XML named and
// it does not write, and nothing else; a file in the way of one picture
// fails the run, which then changes no file and leaves nothing behind.
TEST_F(BdnRun, ReplacesTheEarlierSetWholeOrNotAtAll) {
  const QString three = write("three.srt",
                              "1\n00:00:01,000 --> 00:00:02,000\nOne\n\n"
                              "2\n00:00:03,000 --> 00:00:04,000\nTwo\n\n"
                              "3\n00:00:05,000 --> 00:00:06,000\nThree\n");
  const QString two = write("two.srt",
                            "1\n00:00:01,000 --> 00:00:02,000\nUno\n\n"
                            "2\n00:00:03,000 --> 00:00:04,000\nDos\n");
  ASSERT_EQ(RunConverter({"--format", "bdn", "--name", "film", three}).code, 0);
  write("film_0009.png", "not named by the XML");
  write("film_cover.png", "the user's");
  const QByteArray earlierXml = ReadBytes(path("film.xml"));
  const QByteArray earlierSecond = ReadBytes(path("film_0002.png"));
  const QStringList earlier = everything();

  // A folder where the first picture goes.
  ASSERT_TRUE(QFile::remove(path("film_0001.png")));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("film_0001.png")));
  const auto failed = RunConverter({"--format", "bdn", "--name", "film", two});
  EXPECT_EQ(failed.code, 3);
  EXPECT_EQ(failed.err,
            "tesmora-cli: cannot write " + folder() + "film_0001.png: File is a folder.\n");
  EXPECT_EQ(ReadBytes(path("film.xml")), earlierXml);
  EXPECT_EQ(ReadBytes(path("film_0002.png")), earlierSecond);
  EXPECT_EQ(everything(), earlier);

  ASSERT_TRUE(QDir(dir.path()).rmdir(QStringLiteral("film_0001.png")));
  ASSERT_EQ(RunConverter({"--format", "bdn", "--name", "film", two}).code, 0);
  EXPECT_EQ(names(everything()), (QStringList{"film.xml", "film_0001.png", "film_0002.png",
                                              "film_0009.png", "film_cover.png"}));
  EXPECT_NE(ReadBytes(path("film_0002.png")), earlierSecond);
}

TEST_F(BdnRun, AnUnwritableFolderChangesNoFile) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "the superuser writes into any folder";
  }
  const QString film = write("film.srt", "1\n00:00:01,000 --> 00:00:02,000\nOne\n");
  ASSERT_EQ(RunConverter({"--format", "bdn", "--name", "film", film}).code, 0);
  const QStringList earlier = everything();
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
  const auto failed = RunConverter({"--format", "pgs,bdn", "--name", "film", film});
  QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(failed.code, 3);
  EXPECT_EQ(everything(), earlier);
}

}  // namespace
}  // namespace tesmora::cli
