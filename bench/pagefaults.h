#pragma once
// Page faults: how many a piece of work takes, and what one costs on this machine. On a
// virtual machine a fault can cost tens of microseconds, enough to be a run's fixed cost
// on a small file; counting them tells that cost apart from the work's own.

namespace torrentix::bench {

// The minor page faults this process has taken so far (getrusage).
long minorPageFaults();

// The time one minor page fault costs, in microseconds: the least of three timings of
// touching every page of 256 MB of fresh memory.
double pageFaultMicroseconds();

} // namespace torrentix::bench
