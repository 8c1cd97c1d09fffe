#pragma once
// The two-level tree of taxonomic groups and families that the unknown-taxon question
// offers: root "x" ("TAXA"), groups "G_"+code, families "F_"+id, built by walking the
// family record set in its order.

#include "input/taxadatabase.h"

#include <string>
#include <vector>

namespace torrentix {

struct TaxaTreeNode {
    std::string key;  // "x", "G_8", "F_17"
    std::string text; // "TAXA", group name or family name
    std::string tag;  // "", "G8", "F17"
    int parent = -1;  // index of the parent node, -1 for the root
};

class TaxaTree {
  public:
    // The nodes in insertion order; node 0 is the root.
    const std::vector<TaxaTreeNode>& nodes() const { return nodes_; }
    // Index of the first node with this tag, or -1.
    int findByTag(const std::string& tag) const;
    // The number after the tag's first letter (family id or group code); 0 for the root.
    static int tagNumber(const std::string& tag);

    friend TaxaTree buildTaxaTree(const std::vector<FamilyRecord>& records);

  private:
    std::vector<TaxaTreeNode> nodes_;
};

// Builds the tree from the family record set.
TaxaTree buildTaxaTree(const std::vector<FamilyRecord>& records);

} // namespace torrentix
