#pragma once
// Peak resident memory of one batch run, measured in a fresh process (this program
// started again with --peak-memory-of=FILE).
//
// On Linux the maximum resident size of getrusage (ru_maxrss) survives execve: a process
// started by a large parent first inherits the parent's peak. Measure before the
// benchmarks have made this process large; the fresh process also reports its own
// high-water mark (VmHWM of /proc/self/status), which starts anew at execve.

#include <string>

namespace torrentix::bench {

struct PeakMemory {
    long baselineKb = 0; // own high-water mark after opening the taxa database
    long peakKb = 0;     // ru_maxrss after the run
    long ownPeakKb = 0;  // own high-water mark after the run
};

// Starts `program --peak-memory-of=samplePath --peak-memory-threads=threads` and reads
// its figures.
PeakMemory measurePeakMemory(const std::string& program, const std::string& samplePath, int threads,
                             const std::string& scratchFolder);

// The side of the fresh process: runs the batch command once on the file with `threads`
// threads (0: one per core) and prints "BASELINE_KB PEAK_KB OWN_PEAK_KB". Returns the
// exit status.
int reportPeakMemory(const std::string& samplePath, int threads);

} // namespace torrentix::bench
