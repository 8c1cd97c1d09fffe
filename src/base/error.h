#pragma once
// The one error type of the engine: a failure the user must be told about.

#include <stdexcept>

namespace torrentix {

// The text is the message to show, complete: it names the file, value or cell concerned.
class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace torrentix
