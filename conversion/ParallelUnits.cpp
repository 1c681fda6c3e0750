#include "conversion/ParallelUnits.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace tesmora {
namespace {

// A subpicture's outcome, from the worker that encoded it.
struct Outcome {
  std::optional<SupPacket> packet;
  std::exception_ptr error;
};

// The subpictures handed out to the workers and the outcomes waiting for
// the sink, in a ring of `window` slots: subpicture k uses slot k % window,
// so no worker runs more than `window` ahead of the sink.
class OrderedOutcomes {
 public:
  OrderedOutcomes(std::size_t count, std::size_t window) : count_(count), slots_(window) {}

  // The next subpicture for a worker, or nothing when all are handed out or
  // the run stops. Waits while the ring is full.
  std::optional<std::size_t> take() {
    std::unique_lock lock(mutex_);
    const auto free = [&] {
      return stopped_ || next_ >= count_ || next_ < handed_ + slots_.size();
    };
    if (!free()) {
      ++workersWaiting_;
      room_.wait(lock, free);
      --workersWaiting_;
    }
    if (stopped_ || next_ >= count_) {
      return std::nullopt;
    }
    return next_++;
  }

  // Wakes the sink only once the outcomes it waits for are all in: each
  // wake-up costs two thread switches, so the sink takes them in batches.
  void put(std::size_t position, Outcome outcome) {
    bool wake = false;
    {
      const std::lock_guard lock(mutex_);
      slots_[position % slots_.size()] = std::move(outcome);
      wake = sinkWaiting_ && batchReady();
    }
    if (wake) {
      ready_.notify_one();
    }
  }

  // Waits for the outcome of `position`, the next in order, and frees its
  // slot. When it is not in yet, waits until it and the outcomes up to half a
  // ring after it are (or up to the last subpicture, or a failure among them),
  // so that the next few calls find theirs without waiting.
  Outcome await(std::size_t position) {
    std::unique_lock lock(mutex_);
    std::optional<Outcome>& slot = slots_[position % slots_.size()];
    if (!slot.has_value()) {
      batchFirst_ = position;
      batchLast_ = std::min(position + slots_.size() / 2, count_) - 1;
      sinkWaiting_ = true;
      ready_.wait(lock, [&] { return batchReady(); });
      sinkWaiting_ = false;
    }
    Outcome outcome = std::move(*slot);
    slot.reset();
    handed_ = position + 1;
    const bool workersWait = workersWaiting_ > 0;
    lock.unlock();
    if (workersWait) {
      room_.notify_all();
    }
    return outcome;
  }

  void stop() {
    {
      const std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    room_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable room_;
  std::condition_variable ready_;
  const std::size_t count_;
  std::vector<std::optional<Outcome>> slots_;
  std::size_t next_ = 0;    // the next subpicture to hand out
  std::size_t handed_ = 0;  // the subpictures already taken by the sink
  bool stopped_ = false;
  // The outcomes the sleeping sink waits for, first to last.
  bool sinkWaiting_ = false;
  std::size_t batchFirst_ = 0;
  std::size_t batchLast_ = 0;
  std::size_t workersWaiting_ = 0;  // workers asleep on a full ring

  // Whether the sink's batch is in: every outcome of it, or the first
  // outcomes up to a failure, which ends the run.
  bool batchReady() const {
    for (std::size_t k = batchFirst_; k <= batchLast_; ++k) {
      const std::optional<Outcome>& slot = slots_[k % slots_.size()];
      if (!slot.has_value()) {
        return false;
      }
      if (slot->error) {
        return true;
      }
    }
    return true;
  }
};

}  // namespace

int WorkersPerCore() {
  const unsigned cores = std::thread::hardware_concurrency();
  return cores == 0 ? 1 : static_cast<int>(std::min(cores, static_cast<unsigned>(kMostWorkers)));
}

// The started workers, their drawings and the ring between them and the
// sink. Stops the workers and joins them however the run ends.
struct ParallelEncoding::Crew {
  Crew(std::size_t count, std::size_t workers) : outcomes(count, 4 * workers) {
    drawings.reserve(workers);
    threads.reserve(workers);
  }
  Crew(const Crew&) = delete;
  Crew& operator=(const Crew&) = delete;
  ~Crew() {
    outcomes.stop();
    for (std::thread& thread : threads) {
      thread.join();
    }
  }

  OrderedOutcomes outcomes;
  // Reserved up front: each worker holds its drawing by reference.
  std::vector<SubpictureDrawing> drawings;
  std::vector<std::thread> threads;
};

ParallelEncoding::ParallelEncoding(const std::vector<Subpicture>& subpictures,
                                   const std::vector<CueTime>& cues, const RoleKeyColours& keys,
                                   StartDisplay start, int workers,
                                   const DrawingFactory& makeDrawing,
                                   const ThreadStarter& startThread)
    : subpictures_(subpictures), cues_(cues), keys_(keys), start_(start) {
  if (workers < 2 || subpictures.size() < 2) {
    alone_ = makeDrawing();
    return;
  }
  const auto count = static_cast<std::size_t>(workers);
  crew_ = std::make_unique<Crew>(subpictures.size(), count);
  for (std::size_t n = 0; n < count; ++n) {
    SubpictureDrawing& drawing = crew_->drawings.emplace_back(makeDrawing());
    OrderedOutcomes& outcomes = crew_->outcomes;
    try {
      crew_->threads.push_back(
          startThread([&outcomes, &subpictures, &cues, &keys, start, &drawing] {
            while (const std::optional<std::size_t> position = outcomes.take()) {
              Outcome outcome;
              try {
                outcome.packet =
                    EncodeSubpictureUnit(subpictures[*position], cues, keys, start, drawing);
              } catch (...) {
                outcome.error = std::current_exception();
              }
              outcomes.put(*position, std::move(outcome));
            }
          }));
    } catch (const std::system_error&) {
      // The system starts no more threads: the run goes on with those it
      // started.
      crew_->drawings.pop_back();
      break;
    }
  }
  if (crew_->threads.empty()) {
    crew_.reset();
    alone_ = makeDrawing();
  }
}

ParallelEncoding::~ParallelEncoding() = default;

int ParallelEncoding::workers() const {
  return crew_ ? static_cast<int>(crew_->threads.size()) : 1;
}

void ParallelEncoding::run(const SubpictureAwaited& awaited, const PacketSink& sink) {
  if (!crew_) {
    std::size_t position = 0;
    EncodeSubpictureUnits(
        subpictures_, cues_, keys_, start_,
        [&](const Subpicture& subpicture) {
          awaited(position++);
          return alone_(subpicture);
        },
        sink);
    return;
  }
  try {
    for (std::size_t position = 0; position < subpictures_.size(); ++position) {
      awaited(position);
      Outcome outcome = crew_->outcomes.await(position);
      if (outcome.error) {
        std::rethrow_exception(outcome.error);
      }
      sink(*outcome.packet, subpictures_[position].startTicks);
    }
  } catch (...) {
    crew_.reset();  // stops and joins the workers before the failure goes on
    throw;
  }
}

void EncodeSubpictureUnitsInParallel(const std::vector<Subpicture>& subpictures,
                                     const std::vector<CueTime>& cues, const RoleKeyColours& keys,
                                     StartDisplay start, int workers,
                                     const DrawingFactory& makeDrawing,
                                     const SubpictureAwaited& awaited, const PacketSink& sink,
                                     const ThreadStarter& startThread) {
  ParallelEncoding(subpictures, cues, keys, start, workers, makeDrawing, startThread)
      .run(awaited, sink);
}

}  // namespace tesmora
