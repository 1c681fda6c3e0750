#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "core/ThreadStart.h"
#include "output/GenerationRun.h"

namespace tesmora {

// Makes the drawing step of one worker. Each drawing is called from its
// worker's thread only, one subpicture at a time, so it may keep its own
// renderer; the frame it returns must stay unchanged until its next call.
using DrawingFactory = std::function<SubpictureDrawing()>;

// Called on the calling thread with the position (from 0) of the subpicture
// whose packet is awaited next, before it is handed to the sink.
using SubpictureAwaited = std::function<void(std::size_t position)>;

// The most workers a run starts on its own: each holds a key frame.
inline constexpr int kMostWorkers = 256;

// One worker per core the machine reports: at least 1, at most kMostWorkers.
int WorkersPerCore();

// What EncodeSubpictureUnits does, with the drawing and encoding of
// different subpictures spread over worker threads. The workers start with
// the object, before the run opens its output files, so that a thread the
// system refuses changes no file: the run goes on with those that started,
// and on the calling thread alone when none did. The packets reach the sink
// on the calling thread, strictly in the subpictures' order, and are byte
// for byte those of one thread. At most a few packets per worker wait to be
// handed over, so the memory does not grow with the film. A failure is the
// one a single thread meets first: the earliest subpicture's error in the
// order, or what the sink throws; the workers are stopped and joined before
// it is passed on, and no later packet reaches the sink. The subpictures,
// cues and keys must outlive the object.
class ParallelEncoding {
 public:
  // Starts up to `workers` threads, each with a drawing of its own; below 2
  // (or for fewer than 2 subpictures) none, the calling thread draws and
  // encodes everything.
  ParallelEncoding(const std::vector<Subpicture>& subpictures, const std::vector<CueTime>& cues,
                   const RoleKeyColours& keys, StartDisplay start, int workers,
                   const DrawingFactory& makeDrawing,
                   const ThreadStarter& startThread = StartThread);
  ~ParallelEncoding();
  ParallelEncoding(const ParallelEncoding&) = delete;
  ParallelEncoding& operator=(const ParallelEncoding&) = delete;

  // The threads that draw and encode: the workers that started, or 1 when
  // the calling thread does it all.
  int workers() const;

  // Hands every packet to `sink`, calling `awaited` with the position (from
  // 0) of each subpicture before its packet is handed over. Runs once.
  void run(const SubpictureAwaited& awaited, const PacketSink& sink);

 private:
  struct Crew;
  const std::vector<Subpicture>& subpictures_;
  const std::vector<CueTime>& cues_;
  const RoleKeyColours& keys_;
  StartDisplay start_;
  SubpictureDrawing alone_;     // the calling thread's drawing when no worker runs
  std::unique_ptr<Crew> crew_;  // the workers, if any started
};

// A ParallelEncoding run at once.
void EncodeSubpictureUnitsInParallel(const std::vector<Subpicture>& subpictures,
                                     const std::vector<CueTime>& cues, const RoleKeyColours& keys,
                                     StartDisplay start, int workers,
                                     const DrawingFactory& makeDrawing,
                                     const SubpictureAwaited& awaited, const PacketSink& sink,
                                     const ThreadStarter& startThread = StartThread);

}  // namespace tesmora
