// The window's generation run on several threads: the same files for any
// count, the preview following the run, errors and drops during a run.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>

#include "app/TForm1.h"
#include "render/KeyFrameRenderer.h"
#include "tests/app/TestFiles.h"
#include "tests/platform/FakePlatform.h"
#include "timing/CueTimes.h"
#include "timing/Timeline.h"

namespace tesmora {
namespace {

// Two-line cues 700 ms apart, shown 1 s each, so that every cue overlaps
// the next: the subpictures draw one cue or two stacked, some in italics.
QByteArray OverlappingFilm(int count) {
  QByteArray srt;
  for (int n = 0; n < count; ++n) {
    const int start = 1000 + n * 700;
    const auto time = [](int ms) {
      return QByteArray("00:")
          .append(QByteArray::number(ms / 60000).rightJustified(2, '0'))
          .append(':')
          .append(QByteArray::number(ms / 1000 % 60).rightJustified(2, '0'))
          .append(',')
          .append(QByteArray::number(ms % 1000).rightJustified(3, '0'));
    };
    srt += QByteArray::number(n + 1) + "\r\n" + time(start) + " --> " + time(start + 1000) +
           "\r\n" + (n % 3 == 0 ? "<i>" : "") + "Line " + QByteArray::number(n) +
           " of the night crossing" + (n % 3 == 0 ? "</i>" : "") + "\r\nand the harbour " +
           QByteArray::number(n * 7) + "\r\n\r\n";
  }
  return srt;
}

const QStringList kWrittenFiles{"Generated.idx", "Generated.rgb", "Generated.sub", "Generated.sup",
                                "Tesmora_Help_File.txt"};

class ParallelGenerationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form.i_dont_have_ifo->click();
    form.CheckBoxVobSub->setChecked(true);
    form.CheckBoxForced->setChecked(true);
  }
  QString write(const QString& name, const QByteArray& bytes) {
    return testing::WriteFile(folder.filePath(name), bytes);
  }
  void load(const QString& path) {
    platform.chosenFiles = {path};
    form.Button2->click();
  }
  // Every file the run wrote, by name, and then removed.
  QMap<QString, QByteArray> takeWrittenFiles() {
    QMap<QString, QByteArray> files;
    for (const QString& name : kWrittenFiles) {
      files[name] = testing::ReadFile(folder.filePath(name));
      QFile::remove(folder.filePath(name));
    }
    return files;
  }

  QTemporaryDir folder;
  testing::FakePlatform platform;
  TForm1 form{platform};
};

TEST_F(ParallelGenerationTest, OneWorkerAndManyWriteTheSameFiles) {
  load(write("film.srt", OverlappingFilm(40)));
  ASSERT_TRUE(form.SubtitlesLoaded);
  const int subpictures = 2 * 40 - 1;  // each cue alone, then with the next

  form.GenerationWorkers = 1;
  int runsBefore = platform.pendingEventRuns;
  form.Button3->click();
  ASSERT_TRUE(platform.errors.isEmpty());
  EXPECT_EQ(platform.pendingEventRuns - runsBefore, subpictures);
  EXPECT_EQ(form.ProgressBar1->maximum(), subpictures);
  EXPECT_EQ(form.ProgressBar1->value(), subpictures);
  const QMap<QString, QByteArray> alone = takeWrittenFiles();
  for (const QString& name : kWrittenFiles) {
    EXPECT_NE(alone[name], QByteArray("missing")) << name.toStdString();
  }

  for (const int workers : {2, 3, 8}) {
    form.GenerationWorkers = workers;
    runsBefore = platform.pendingEventRuns;
    form.Button3->click();
    ASSERT_TRUE(platform.errors.isEmpty());
    EXPECT_EQ(platform.pendingEventRuns - runsBefore, subpictures);
    EXPECT_EQ(takeWrittenFiles(), alone) << workers << " workers";
  }
}

// The preview ends on the last subpicture of the run, drawn on the window's
// own key frame, as a run on one thread leaves it.
TEST_F(ParallelGenerationTest, ThePreviewEndsOnTheLastSubpicture) {
  load(write("film.srt", OverlappingFilm(6)));
  form.GenerationWorkers = 4;
  form.Button3->click();
  ASSERT_TRUE(platform.errors.isEmpty());

  const Timeline timeline = PlanTimeline(CueTimesOf(form.LoadedCues));
  std::vector<CueToDraw> last;
  for (const int cue : timeline.subpictures.back().cues) {
    last.push_back(CueToDraw{form.LoadedCues[static_cast<std::size_t>(cue)].lines});
  }
  ASSERT_EQ(last.size(), 1u);
  KeyFrameRenderer expected;
  const EncodeArea area =
      expected.render(std::span<const CueToDraw>(last), form.LoadedSource, form.CurrentStyle(),
                      form.CurrentOutlineWidth(), form.CurrentRoleColours(), 576);
  EXPECT_EQ(form.LastEncodeArea(), area);
  ASSERT_EQ(form.KeyFrame().height(), 576);
  for (int y = 0; y < 576; ++y) {
    ASSERT_TRUE(std::equal(form.KeyFrame().row(y), form.KeyFrame().row(y) + FrameBitmap::kStride,
                           expected.frame().row(y)))
        << "row " << y;
  }
  EXPECT_EQ(form.preview->picture().size(), QSize(720, 576));
}

TEST_F(ParallelGenerationTest, AnErrorStopsTheRunWithItsMessageAndChangesNoFile) {
  load(write("film.srt", OverlappingFilm(12)));
  write("Generated.sup", "an earlier stream");
  form.Ntsc->click();
  form.offset->setValue(form.offset->maximum());  // above the top of an NTSC frame
  platform.messages.clear();
  platform.errors.clear();
  form.GenerationWorkers = 4;
  form.Button3->click();
  EXPECT_TRUE(platform.errors.isEmpty());
  // The cues are checked with the style in force before anything is written.
  EXPECT_EQ(platform.messages,
            QStringList{"Nothing was written: cue 1 cannot be drawn whole in this style, and the "
                        "files written before stay as they were.\rCue 1 has 2 lines, more than "
                        "the frame holds in this font size and offset: its lines would be cut off "
                        "at the frame's edge. Please use a smaller font size or a lower offset."});
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name),
            (QStringList{"Generated.sup", "film.srt"}));
  EXPECT_EQ(testing::ReadFile(folder.filePath("Generated.sup")), "an earlier stream");
  EXPECT_TRUE(form.Button3->isEnabled());
  EXPECT_TRUE(form.ComboBox6->isEnabled());
}

// A file dropped while the workers draw the loaded cues would replace them
// under the workers' hands; the window does not take it until the run ends.
TEST_F(ParallelGenerationTest, AFileDroppedDuringARunIsNotTaken) {
  load(write("film.srt", OverlappingFilm(20)));
  form.GenerationWorkers = 1;
  form.Button3->click();
  const QMap<QString, QByteArray> undisturbed = takeWrittenFiles();

  const QString other = write("other.srt", OverlappingFilm(3));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(other)});
  QList<bool> taken;
  platform.onPendingEvents = [&] {
    QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &enter);
    QDropEvent drop(QPointF(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&form, &drop);
    taken << (enter.isAccepted() || drop.isAccepted());
  };
  platform.messages.clear();
  form.GenerationWorkers = 4;
  form.Button3->click();
  platform.onPendingEvents = nullptr;
  EXPECT_TRUE(platform.errors.isEmpty());
  ASSERT_FALSE(taken.isEmpty());
  EXPECT_FALSE(taken.contains(true));
  EXPECT_EQ(platform.messages.size(), 1);  // the closing message only
  EXPECT_EQ(form.LoadedCues.size(), 20u);
  EXPECT_EQ(takeWrittenFiles(), undisturbed);

  // After the run the window takes drops again.
  platform.onPendingEvents = nullptr;
  QDragEnterEvent enter(QPoint(400, 300), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&form, &enter);
  EXPECT_TRUE(enter.isAccepted());
}

}  // namespace
}  // namespace tesmora
