// The Blu-ray choices of a run: the video each line count and rate gives,
// and the high-definition style made from the DVD style's choices; the
// run's progress and stop, and its files, with any number of threads.
#include <gtest/gtest.h>

#include "conversion/PgsRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <map>
#include <regex>

namespace tesmora {
namespace {

TEST(PgsVideo, EachFrameTakesItsUsualRateAndRefusesOthers) {
  struct Case {
    int lines;
    std::optional<double> fps;
    int width;
    pgs::FrameRateCode code;
    int numerator;
    int denominator;
  };
  const std::vector<Case> cases{
      {1080, std::nullopt, 1920, pgs::FrameRateCode::Film, 24000, 1001},
      {1080, 50.0, 1920, pgs::FrameRateCode::Pal50, 50, 1},
      {720, 59.94, 1280, pgs::FrameRateCode::Ntsc60, 60000, 1001},
      {576, std::nullopt, 720, pgs::FrameRateCode::Pal, 25, 1},
      {480, std::nullopt, 720, pgs::FrameRateCode::Ntsc, 30000, 1001},
  };
  for (const Case& c : cases) {
    const std::optional<PgsVideo> video = PgsVideoOf(c.lines, c.fps);
    ASSERT_TRUE(video.has_value()) << c.lines;
    EXPECT_EQ(video->format.width, c.width);
    EXPECT_EQ(video->format.height, c.lines);
    EXPECT_EQ(video->format.frame_rate, c.code) << c.lines;
    EXPECT_EQ(video->target.width, c.width);
    EXPECT_EQ(video->target.height, c.lines);
    EXPECT_EQ(video->target.rateNumerator, c.numerator) << c.lines;
    EXPECT_EQ(video->target.rateDenominator, c.denominator) << c.lines;
  }
  EXPECT_FALSE(PgsVideoOf(720, 25.0));
  EXPECT_FALSE(PgsVideoOf(576, 29.97));
  EXPECT_FALSE(PgsVideoOf(1080, 30.0));
  EXPECT_FALSE(PgsVideoOf(1440, std::nullopt));
  EXPECT_EQ(PgsRatesOf(480), "29.97");
}

TEST(PgsStyle, TakesTheDvdChoicesWithTextAndOutlineColoursApart) {
  SubtitleStyle style;
  style.fontName = QStringLiteral("DejaVu Serif");
  style.size = 30;
  style.style = FontStyle{true, true, false, true};
  style.align = QStringLiteral("left");
  style.offset = 60;
  const HdStyle hd = HdStyleOf(style, 4, Rgb{250, 240, 10}, Rgb{20, 30, 40});
  EXPECT_EQ(hd.fontName, QStringLiteral("DejaVu Serif"));
  EXPECT_EQ(hd.points, 30);
  EXPECT_TRUE(hd.bold);
  EXPECT_TRUE(hd.italic);
  EXPECT_FALSE(hd.underline);
  EXPECT_TRUE(hd.strikeOut);
  EXPECT_EQ(hd.text, (Rgb{250, 240, 10}));
  EXPECT_EQ(hd.outline, (Rgb{20, 30, 40}));
  EXPECT_EQ(hd.outlineWidth, 4);
  EXPECT_EQ(hd.alignment, 1);
  EXPECT_EQ(hd.marginVertical, 60);
}

// Both front ends draw the stream in the generic palette's text and outline
// colours: white text, black outline.
TEST(PgsStyle, TheBluRayStyleTakesTheGenericRoleColours) {
  const HdStyle hd = BluRayStyleOf(SubtitleStyle{}, 3);
  EXPECT_EQ(hd.text, (Rgb{255, 255, 255}));
  EXPECT_EQ(hd.outline, (Rgb{0, 0, 0}));
  EXPECT_EQ(hd.outlineWidth, 3);
}

class PgsRunControl : public ::testing::Test {
 protected:
  const std::vector<SubtitleEntry> cues{
      {1000, 1000, {"One"}}, {3000, 1000, {"Two"}}, {5000, 1000, {"Three"}}};
  const PgsLook look{BluRayStyleOf(SubtitleStyle{}, 2), TextSource{},
                     *PgsVideoOf(720, std::nullopt)};
  QTemporaryDir dir;
  std::string path() const { return QDir(dir.path()).filePath("run.sup").toStdString(); }
};

TEST_F(PgsRunControl, ReportsEachPictureByItsFirstCue) {
  std::vector<std::size_t> positions;
  const RunControl control{[&positions](std::size_t at) { positions.push_back(at); }, nullptr};
  WritePgsFile(path(), cues, look, control);
  EXPECT_EQ(positions, (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_TRUE(QFile::exists(QString::fromStdString(path())));
}

// A stop between pictures leaves an earlier stream as it was and no
// temporary file beside it.
TEST_F(PgsRunControl, AStoppedRunChangesNoFile) {
  QFile earlier(QString::fromStdString(path()));
  ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
  earlier.write("earlier");
  earlier.close();
  std::atomic<bool> cancel{false};
  const RunControl control{[&cancel](std::size_t at) { cancel = at == 1; }, &cancel};
  EXPECT_THROW(WritePgsFile(path(), cues, look, control), RunCancelled);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"run.sup"});
  ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
  EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
}

// A film long enough to be drawn in several units: with workers, the
// pictures are drawn on other threads but reach the run's control on the
// calling thread in their order, and a stop there changes no file.
class ThreadedPgsRunControl : public PgsRunControl {
 protected:
  ThreadedPgsRunControl() {
    film.reserve(40);
    for (int i = 0; i < 40; ++i) {
      film.emplace_back(1000LL + 2000LL * i, 1000,
                        std::vector<std::string>{"Cue " + std::to_string(i + 1)});
    }
    threaded.workers = 3;
  }
  std::vector<SubtitleEntry> film;
  PgsLook threaded = look;
};

TEST_F(ThreadedPgsRunControl, ReportsPicturesInOrderAndStopsBetweenThem) {
  std::vector<std::size_t> positions;
  const RunControl report{[&positions](std::size_t at) { positions.push_back(at); }, nullptr};
  WritePgsFile(path(), film, threaded, report);
  std::vector<std::size_t> expected(film.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    expected[i] = i;
  }
  EXPECT_EQ(positions, expected);

  QFile earlier(QString::fromStdString(path()));
  ASSERT_TRUE(earlier.open(QIODevice::WriteOnly | QIODevice::Truncate));
  earlier.write("earlier");
  earlier.close();
  std::atomic<bool> cancel{false};
  std::size_t last = 0;
  const RunControl stop{[&](std::size_t at) {
                          last = at;
                          cancel = at == 25;
                        },
                        &cancel};
  EXPECT_THROW(WritePgsFile(path(), film, threaded, stop), RunCancelled);
  EXPECT_EQ(last, 25u);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"run.sup"});
  ASSERT_TRUE(earlier.open(QIODevice::ReadOnly));
  EXPECT_EQ(earlier.readAll(), QByteArray("earlier"));
}

// The stream, the BDN XML and every picture beside it are the same bytes
// whether one thread or three draw them, and a cue placed at the top keeps
// its place in the pictures the XML names.
TEST_F(ThreadedPgsRunControl, AnyThreadCountWritesTheSameStreamAndBdnFiles) {
  film[7].look.placement.alignment = 8;
  const auto run = [&](const PgsLook& chosen, const QString& name) {
    QDir(dir.path()).mkdir(name);
    const QDir folder(QDir(dir.path()).filePath(name));
    WriteBluRayFiles(
        {folder.filePath("film.sup").toStdString(), folder.filePath("film.xml").toStdString()},
        film, chosen);
    std::map<QString, QByteArray> files;
    for (const QString& file : folder.entryList(QDir::Files)) {
      QFile read(folder.filePath(file));
      EXPECT_TRUE(read.open(QIODevice::ReadOnly)) << file.toStdString();
      files[file] = read.readAll();
    }
    return files;
  };
  const std::map<QString, QByteArray> one = run(look, "one");
  const std::map<QString, QByteArray> three = run(threaded, "three");
  ASSERT_EQ(one.size(), film.size() + 2);  // a picture a cue, the stream and the XML
  EXPECT_TRUE(one == three);

  // Graphics Y offsets in event order: the eighth cue is drawn high up.
  const std::string xml = one.at("film.xml").toStdString();
  const std::regex graphicY(R"re(<Graphic [^>]*Y="(\d+)")re");
  std::vector<int> ys;
  for (auto it = std::sregex_iterator(xml.begin(), xml.end(), graphicY);
       it != std::sregex_iterator(); ++it) {
    ys.push_back(std::stoi((*it)[1].str()));
  }
  ASSERT_EQ(ys.size(), film.size());
  EXPECT_LT(ys[7], 720 / 4);
  EXPECT_GT(ys[6], 720 / 2);
}

}  // namespace
}  // namespace tesmora
