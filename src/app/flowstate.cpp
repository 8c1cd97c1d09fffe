#include "app/flowstate.h"

#include <algorithm>
#include <array>
#include <utility>

namespace torrentix {
namespace {

using S = FlowState;

// A read ends where it began; the file read then shows its options (a file without usable
// test variables passes them on its way to the run). A run starts from the options, after
// the question when there is one, and ends with results, or without them when it fails and
// none were on show. Results never go by a move, and nothing is read or run meanwhile the
// intervals are computed.
constexpr std::array moves = {
    std::pair{S::Start, S::Reading},     std::pair{S::Results, S::Reading},
    std::pair{S::Reading, S::Start},     std::pair{S::Reading, S::Results},
    std::pair{S::Start, S::Options},     std::pair{S::Results, S::Options},
    std::pair{S::Options, S::Start},     std::pair{S::Options, S::Results},
    std::pair{S::Options, S::Question},  std::pair{S::Options, S::Running},
    std::pair{S::Question, S::Running},  std::pair{S::Running, S::Start},
    std::pair{S::Running, S::Results},   std::pair{S::Results, S::Intervals},
    std::pair{S::Intervals, S::Results},
};

} // namespace

bool allowedMove(FlowState from, FlowState to) {
    return std::find(moves.begin(), moves.end(), std::pair{from, to}) != moves.end();
}

} // namespace torrentix
