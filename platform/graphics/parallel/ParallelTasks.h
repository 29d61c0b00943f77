#pragma once

// Numbered tasks shared out among the calling thread and a few threads that wait for work for the
// life of the process. Frames, flip frames and PNG exports cut their work into bands, several times
// a frame; starting a thread for each band costs about as much as drawing a small band, and a new
// thread starts with cold caches (figures in docs/performance.md).

#include <functional>

namespace dazed {

// How many cores the machine has; at least 1.
int coreCount();

// Runs task(0) ... task(count - 1), each exactly once, and returns when every one has returned.
// The calling thread takes tasks too, in turn with the waiting threads, so the work gets done even
// when every waiting thread is busy with another caller's tasks, none could be started, or a task
// itself runs tasks. Tasks may run at the same time as each other, in any order. If tasks throw,
// the first exception is thrown again here once every task has run or thrown.
void runTasks(int count, const std::function<void(int)>& task);

} // namespace dazed
