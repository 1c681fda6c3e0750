#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "sup/GenerationRun.h"

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
// different subpictures spread over `workers` threads. The packets reach
// `sink` on the calling thread, strictly in the subpictures' order, and are
// byte for byte those of one thread. At most a few packets per worker wait
// to be handed over, so the memory does not grow with the film. A failure
// is the one a single thread meets first: the earliest subpicture's error
// in the order, or what `sink` throws; the workers are stopped and joined
// before it is passed on, and no later packet reaches the sink.
// `workers` below 2 runs everything on the calling thread.
void EncodeSubpictureUnitsInParallel(const std::vector<Subpicture>& subpictures,
                                     const std::vector<CueTime>& cues, const RoleKeyColours& keys,
                                     StartDisplay start, int workers,
                                     const DrawingFactory& makeDrawing,
                                     const SubpictureAwaited& awaited, const PacketSink& sink);

}  // namespace tesmora
