#include "conversion/ParallelUnits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "sup/SubtitlePacket.h"

namespace tesmora {
namespace {

constexpr RoleKeyColours kKeys{{255, 255, 255}, {0, 0, 0}, {128, 128, 128}};
constexpr RolePaletteIndices kRoles{1, 0, 3, 0};

// 40 subpictures of one cue each, a second apart.
std::vector<Subpicture> Subpictures() {
  std::vector<Subpicture> subpictures;
  for (int n = 0; n < 40; ++n) {
    subpictures.push_back({static_cast<std::uint32_t>(90000 * (n + 1)), 50, {n}});
  }
  return subpictures;
}

std::vector<CueTime> Cues() {
  std::vector<CueTime> cues;
  for (int n = 0; n < 40; ++n) {
    cues.push_back({1000LL * (n + 1), 1000LL * (n + 1) + 500});
  }
  return cues;
}

// Draws each subpicture as a bar whose width and rows depend on its cue, on
// the worker's own frame, clearing what the previous one drew. A cue in
// `outside` is placed below the frame, which no packet can show. Records
// which thread called each drawing.
class BarDrawings {
 public:
  explicit BarDrawings(std::vector<int> outside = {}) : outside_(std::move(outside)) {}

  SubpictureDrawing make() {
    auto frame = std::make_shared<FrameBitmap>(576);
    const int drawing = made_++;
    return [this, frame, drawing](const Subpicture& subpicture) {
      note(drawing);
      const int cue = subpicture.cues.front();
      frame->fillRows(0, 575, {0, 0, 255});
      const int top = 400 + cue % 7 * 10;
      for (int y = top; y < top + 12; ++y) {
        for (int x = 100; x < 120 + cue * 13; ++x) {
          frame->setPixel(x, y, (x + y + cue) % 3 == 0 ? kKeys.outline : kKeys.text);
        }
      }
      const bool out = std::find(outside_.begin(), outside_.end(), cue) != outside_.end();
      return DrawnSubpicture{frame.get(), out ? EncodeArea{600, 12} : EncodeArea{top, 12}, kRoles};
    };
  }

  // Whether every drawing was only ever called from one thread.
  bool eachOnOneThread() const {
    const std::lock_guard lock(mutex_);
    for (const auto& [drawing, threads] : threads_) {
      if (threads.size() != 1) {
        return false;
      }
    }
    return true;
  }

 private:
  void note(int drawing) {
    const std::lock_guard lock(mutex_);
    auto& threads = threads_[drawing];
    if (std::find(threads.begin(), threads.end(), std::this_thread::get_id()) == threads.end()) {
      threads.push_back(std::this_thread::get_id());
    }
  }

  std::vector<int> outside_;
  int made_ = 0;
  mutable std::mutex mutex_;
  std::map<int, std::vector<std::thread::id>> threads_;
};

// What a run hands over: each packet's bytes and time, and the positions
// awaited, in the order they came.
struct Handed {
  std::vector<std::vector<std::uint8_t>> units;
  std::vector<std::uint32_t> stamps;
  std::vector<std::size_t> awaited;
  std::string error;
};

Handed RunOn(int workers, BarDrawings& drawings, StartDisplay start = StartDisplay::Normal) {
  Handed handed;
  const std::vector<Subpicture> subpictures = Subpictures();
  try {
    EncodeSubpictureUnitsInParallel(
        subpictures, Cues(), kKeys, start, workers, [&] { return drawings.make(); },
        [&](std::size_t position) { handed.awaited.push_back(position); },
        [&](const SupPacket& packet, std::uint32_t pts) {
          std::vector<std::uint8_t> bytes(packet.header.begin(), packet.header.end());
          bytes.insert(bytes.end(), packet.unit.begin(), packet.unit.end());
          handed.units.push_back(bytes);
          handed.stamps.push_back(pts);
        });
  } catch (const SubtitleError& error) {
    handed.error = error.what();
  }
  return handed;
}

TEST(EncodeSubpictureUnitsInParallel, HandsOverTheBytesOfOneThreadInOrderForAnyCount) {
  BarDrawings single;
  const Handed one = RunOn(1, single);
  ASSERT_EQ(one.units.size(), 40u);
  EXPECT_EQ(one.error, "");
  for (std::size_t n = 0; n < 40; ++n) {
    EXPECT_EQ(one.stamps[n], 90000 * (n + 1));
    EXPECT_EQ(one.awaited[n], n);
  }
  // Every unit differs from the one before, so a swap would show.
  for (std::size_t n = 1; n < 40; ++n) {
    EXPECT_NE(one.units[n], one.units[n - 1]);
  }
  for (const int workers : {2, 3, 4, 16}) {
    BarDrawings drawings;
    const Handed many = RunOn(workers, drawings);
    EXPECT_EQ(many.units, one.units) << workers << " workers";
    EXPECT_EQ(many.stamps, one.stamps) << workers << " workers";
    EXPECT_EQ(many.awaited, one.awaited) << workers << " workers";
    EXPECT_TRUE(drawings.eachOnOneThread()) << workers << " workers";
  }
  BarDrawings forcedOne;
  BarDrawings forcedMany;
  EXPECT_EQ(RunOn(4, forcedMany, StartDisplay::Forced).units,
            RunOn(1, forcedOne, StartDisplay::Forced).units);
}

TEST(EncodeSubpictureUnitsInParallel, ReportsTheEarliestFailureAfterThePacketsBeforeIt) {
  const std::string expected =
      "Subtitle 12, starting at 00:00:12,000: it lies entirely outside the picture";
  for (const int workers : {1, 2, 4}) {
    // The later failure is drawn first by some worker; the earlier one is
    // still the one reported.
    BarDrawings drawings({13, 11, 35});
    const Handed handed = RunOn(workers, drawings);
    EXPECT_EQ(handed.error.substr(0, expected.size()), expected) << workers << " workers";
    EXPECT_EQ(handed.units.size(), 11u) << workers << " workers";
    EXPECT_EQ(handed.awaited.size(), 12u) << workers << " workers";
  }
  // The sink takes outcomes in batches; a failure of the last subpicture,
  // where the last batch is cut short, still ends the run after the others.
  for (const int workers : {1, 3, 16}) {
    BarDrawings drawings({39});
    const Handed handed = RunOn(workers, drawings);
    EXPECT_EQ(handed.error.substr(0, 24), "Subtitle 40, starting at") << workers << " workers";
    EXPECT_EQ(handed.units.size(), 39u) << workers << " workers";
  }
}

TEST(EncodeSubpictureUnitsInParallel, PassesOnWhatTheSinkThrowsAndStopsTheWorkers) {
  for (const int workers : {1, 4}) {
    BarDrawings drawings;
    int handed = 0;
    const std::vector<Subpicture> subpictures = Subpictures();
    EXPECT_THROW(EncodeSubpictureUnitsInParallel(
                     subpictures, Cues(), kKeys, StartDisplay::Normal, workers,
                     [&] { return drawings.make(); }, [](std::size_t) {},
                     [&](const SupPacket&, std::uint32_t) {
                       if (++handed == 5) {
                         throw std::runtime_error("disk full");
                       }
                     }),
                 std::runtime_error);
    EXPECT_EQ(handed, 5);
  }
}

TEST(EncodeSubpictureUnitsInParallel, HandlesNoSubpictureAndOne) {
  for (const int workers : {1, 4}) {
    BarDrawings drawings;
    int handed = 0;
    EncodeSubpictureUnitsInParallel(
        {}, {}, kKeys, StartDisplay::Normal, workers, [&] { return drawings.make(); },
        [](std::size_t) {}, [&](const SupPacket&, std::uint32_t) { ++handed; });
    EncodeSubpictureUnitsInParallel(
        {{90000, 50, {0}}}, Cues(), kKeys, StartDisplay::Normal, workers,
        [&] { return drawings.make(); }, [](std::size_t) {},
        [&](const SupPacket&, std::uint32_t) { ++handed; });
    EXPECT_EQ(handed, 1);
  }
}

// Starts the first `allowed` threads and refuses every later one, as the
// system does at its limit of processes (ulimit -u).
ThreadStarter RefusingAfter(int allowed, int& asked) {
  return [allowed, &asked](std::function<void()> work) {
    if (asked++ >= allowed) {
      throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
    return std::thread(std::move(work));
  };
}

// Threads the system refuses leave the run to those that started, or to the
// calling thread when none did: the same packets, none of the drawings of
// refused threads is used.
TEST(ParallelEncoding, GoesOnWithTheWorkersThatStartedDownToTheCallingThread) {
  BarDrawings single;
  const Handed one = RunOn(1, single);
  const std::vector<Subpicture> subpictures = Subpictures();
  const std::vector<CueTime> cues = Cues();
  for (const int allowed : {0, 1, 3}) {
    BarDrawings drawings;
    int asked = 0;
    Handed handed;
    ParallelEncoding encoding(
        subpictures, cues, kKeys, StartDisplay::Normal, 8, [&] { return drawings.make(); },
        RefusingAfter(allowed, asked));
    EXPECT_EQ(encoding.workers(), std::max(allowed, 1)) << allowed;
    EXPECT_EQ(asked, allowed + 1) << allowed;
    encoding.run([&](std::size_t position) { handed.awaited.push_back(position); },
                 [&](const SupPacket& packet, std::uint32_t pts) {
                   std::vector<std::uint8_t> bytes(packet.header.begin(), packet.header.end());
                   bytes.insert(bytes.end(), packet.unit.begin(), packet.unit.end());
                   handed.units.push_back(bytes);
                   handed.stamps.push_back(pts);
                 });
    EXPECT_EQ(handed.units, one.units) << allowed;
    EXPECT_EQ(handed.stamps, one.stamps) << allowed;
    EXPECT_EQ(handed.awaited, one.awaited) << allowed;
    EXPECT_TRUE(drawings.eachOnOneThread()) << allowed;
  }
}

}  // namespace
}  // namespace tesmora
