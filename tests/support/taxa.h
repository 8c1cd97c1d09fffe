#pragma once
// The real taxa database of the build, opened once per test program.

#include "input/taxadatabase.h"
#include "input/taxatree.h"

namespace torrentix::testing {

inline const TaxaDatabase& realTaxa() {
    static const TaxaDatabase taxa = TaxaDatabase::open(TAXA_DB_PATH);
    return taxa;
}

inline const TaxaTree& realTree() {
    static const TaxaTree tree = buildTaxaTree(realTaxa().records());
    return tree;
}

} // namespace torrentix::testing
