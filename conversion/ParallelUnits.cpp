#include "conversion/ParallelUnits.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>

#include "conversion/OrderedRing.h"

namespace tesmora {
namespace {

// A subpicture's outcome, from the worker that encoded it.
struct Outcome {
  std::optional<SupPacket> packet;
  std::exception_ptr error;
};

// Subpictures go to the workers and their packets back to the sink in a
// ring of 4 slots a worker.
using OrderedOutcomes = OrderedRing<Outcome>;

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
