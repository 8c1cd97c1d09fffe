#pragma once
// Reader of the tab-separated sample file: title line, header (three sample labels,
// three test variables, one taxon per further column), then one data row per sample up
// to the first blank line. Every taxon column is resolved to a family; columns of one
// family are merged, samples with a zero total are dropped.

#include "input/nameresolution.h"
#include "input/sampletable.h"

#include <string>

namespace torrentix {

struct ReadResult {
    enum class Status { Ok, Aborted };
    Status status = Status::Ok;
    SampleTable table;
    std::string correctedPath;      // the "_adj.txt" file written, if any
    std::string notice;             // what to tell the user about the corrected file
    std::string correctedFileError; // why the corrected file could not be written
};

// Reads a sample file. Throws Error with the message to show for a file that cannot be
// used; returns Aborted when the user aborted the name resolution. When names had to be
// corrected, writes the corrected file beside the sample file.
ReadResult inputtxt(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                    const UnknownTaxonHandler& ask);

// The same read without writing the corrected file.
ReadResult readSampleFile(const std::string& path, const TaxaDatabase& taxa, const TaxaTree& tree,
                          const UnknownTaxonHandler& ask);
// Writes the corrected file of a read whose names needed correction, recording the
// outcome (path and notice, or the error) in the result.
void saveCorrectedFile(ReadResult& result);

// The text of the corrected file ("_adj.txt") of a table, with CR LF line ends.
std::string correctedFileText(const SampleTable& table);

} // namespace torrentix
