#include "input/taxatree.h"

#include <cstdlib>
#include <unordered_map>

namespace torrentix {

int TaxaTree::findByTag(const std::string& tag) const {
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].tag == tag) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TaxaTree::tagNumber(const std::string& tag) {
    return tag.size() < 2 ? 0 : std::atoi(tag.c_str() + 1);
}

TaxaTree buildTaxaTree(const std::vector<FamilyRecord>& records) {
    TaxaTree tree;
    auto& nodes = tree.nodes_;
    nodes.push_back({"x", "TAXA", "", -1});
    std::unordered_map<std::string, int> indexByKey{{"x", 0}};
    // Adds a node unless its key is already taken (keys are unique within the tree).
    auto add = [&](std::string key, std::string text, std::string tag, int parent) {
        if (indexByKey.count(key) != 0 || parent < 0) {
            return;
        }
        indexByKey.emplace(key, static_cast<int>(nodes.size()));
        nodes.push_back({std::move(key), std::move(text), std::move(tag), parent});
    };
    auto nodeOf = [&](const std::string& key) {
        auto it = indexByKey.find(key);
        return it == indexByKey.end() ? -1 : it->second;
    };

    std::string previousGroup;
    std::string previousFamily;
    int previousGroupKey = 0;
    bool first = true;
    for (const auto& r : records) {
        std::string groupKey = "G_" + std::to_string(r.idgroup);
        if (first || r.taxagroup != previousGroup) {
            first = false;
            add(groupKey, r.taxagroup, "G" + std::to_string(r.idgroup), 0);
            previousGroup = r.taxagroup;
            previousGroupKey = r.idgroup;
            previousFamily = r.family;
            if (r.family != r.taxagroup) {
                add("F_" + std::to_string(r.id), r.family, "F" + std::to_string(r.id), nodeOf(groupKey));
            }
        } else if (r.family != previousFamily) {
            add("F_" + std::to_string(r.id), r.family, "F" + std::to_string(r.id),
                nodeOf("G_" + std::to_string(previousGroupKey)));
            previousFamily = r.family;
        }
    }
    return tree;
}

} // namespace torrentix
