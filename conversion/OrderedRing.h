#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <vector>

namespace tesmora {

// Hands numbered pieces of work to worker threads and their outcomes back
// to one consumer strictly in order, in a ring of slots: piece k uses slot
// k % slots, so no worker runs more than the ring ahead of the consumer and
// the memory held does not grow with the run. `Outcome` has an `error`
// member (a std::exception_ptr, empty when the piece succeeded).
template <typename Outcome>
class OrderedRing {
 public:
  OrderedRing(std::size_t count, std::size_t slotCount) : count_(count), slots_(slotCount) {}

  // The next piece for a worker, or nothing when all are handed out or the
  // run stops. Waits while the ring is full.
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

  // Wakes the consumer only once the outcomes it waits for are all in: each
  // wake-up costs two thread switches, so it takes them in batches.
  void put(std::size_t position, Outcome outcome) {
    bool wake = false;
    {
      const std::lock_guard lock(mutex_);
      slots_[position % slots_.size()] = std::move(outcome);
      wake = consumerWaiting_ && batchReady();
    }
    if (wake) {
      ready_.notify_one();
    }
  }

  // Waits for the outcome of `position`, the next in order, and frees its
  // slot. When it is not in yet, waits until it and the outcomes up to half
  // a ring after it are (or up to the last piece, or a failure among them),
  // so that the next few calls find theirs without waiting.
  Outcome await(std::size_t position) {
    std::unique_lock lock(mutex_);
    std::optional<Outcome>& slot = slots_[position % slots_.size()];
    if (!slot.has_value()) {
      batchFirst_ = position;
      batchLast_ = std::min(position + slots_.size() / 2, count_) - 1;
      consumerWaiting_ = true;
      ready_.wait(lock, [&] { return batchReady(); });
      consumerWaiting_ = false;
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

  // Lets every waiting and later take() return nothing.
  void stop() {
    {
      const std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    room_.notify_all();
  }

 private:
  // Whether the consumer's batch is in: every outcome of it, or the first
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

  std::mutex mutex_;
  std::condition_variable room_;
  std::condition_variable ready_;
  const std::size_t count_;
  std::vector<std::optional<Outcome>> slots_;
  std::size_t next_ = 0;    // the next piece to hand out
  std::size_t handed_ = 0;  // the pieces whose outcome the consumer took
  bool stopped_ = false;
  // The outcomes the sleeping consumer waits for, first to last.
  bool consumerWaiting_ = false;
  std::size_t batchFirst_ = 0;
  std::size_t batchLast_ = 0;
  std::size_t workersWaiting_ = 0;  // workers asleep on a full ring
};

}  // namespace tesmora
