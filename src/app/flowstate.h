#pragma once
// The states of the desktop program's workflow and the moves allowed between them, in one
// place: what the user can do next follows from the state alone.

namespace torrentix {

enum class FlowState {
    Start,     // choosing a GIG and a river type, then a file; no results on show
    Reading,   // a sample file is read on the work's thread, its questions asked on the way
    Options,   // the file read waits for its test-variable options and "OK"
    Question,  // the results file exists: what becomes of it is asked before the run
    Running,   // the run is computed on the work's thread
    Results,   // a completed run is on show; another file can be opened
    Intervals, // the bootstrap intervals of the run on show are computed
};

// Whether the workflow may move from `from` to `to`.
bool allowedMove(FlowState from, FlowState to);

} // namespace torrentix
