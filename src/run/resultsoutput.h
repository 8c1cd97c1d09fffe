#pragma once
// Where and in which encoding a run's results file is written.

#include "input/sampletable.h"

#include <functional>
#include <optional>
#include <string>

namespace torrentix {

// Asked when the results file already exists: the path to write (the same path to overwrite
// it, another to save under another name) or nullopt for no file.
using ExistingResultsFile = std::function<std::optional<std::string>(const std::string& path)>;

// Where the results file goes, or nullopt when the user ends up without a file. Throws
// Error when the answer would replace the sample file (by whatever name).
std::optional<std::string> chooseResultsPath(const std::string& inputPath, const std::string& folder,
                                             const ExistingResultsFile& existing);

// A results file has one encoding: Windows-1252 when every text it holds can be written
// in it, else UTF-8 throughout. A Windows-1252 table whose path cannot be written so has
// its texts converted to UTF-8 before anything is written.
void useOneEncoding(SampleTable& t);

} // namespace torrentix
