#pragma once
// The user's taxa map: the answers to unknown taxon names that the user asked to remember,
// in the map format of the reader (name, TAB, family or IGNORE), kept in the user's
// configuration folder so that later files are read the same way without asking.

#include "input/nameresolution.h"

#include <QString>

#include <string>

namespace torrentix {

// "taxa-map.tsv" in the user's configuration folder of the program.
QString defaultTaxaMapPath();

// Creates the map with its explanation when there is none yet; throws Error.
void ensureTaxaMap(const std::string& path);

// Adds the answer to a name as a line of the map: the family chosen, or IGNORE. The map is
// kept as UTF-8 and written whole. False when the answer has nothing to keep (an aborted
// read, a group without a family) or the name cannot stand in a map (empty, or read as a
// comment); throws Error when the map cannot be written.
bool rememberAnswer(const std::string& path, const UnknownTaxonQuestion& question,
                    const UnknownTaxonAnswer& answer);

} // namespace torrentix
