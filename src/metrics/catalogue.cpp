#include "metrics/catalogue.h"

#include "base/text.h"

namespace torrentix {
namespace {

const std::array<GigInfo, gigCount> gigs = {{
    {"Alpine", 2, {"small to medium high altitude calcareous", "small to medium high altitude siliceous"}},
    {"Central / Baltic",
     5,
     {"small lowland siliceous rock", "small mid-altitude siliceous", "medium lowland mixed",
      "large lowland mixed", "small lowland calcareous"}},
    {"Eastern continental",
     6,
     {"Carpathians: small to medium, mid-altitude", "Plains: medium-sized, lowland",
      "Plains: large and very large, lowland ", "Plains: medium-sized, mid-altitude",
      "Balkans: medium-sized, mid-altitude", "Danube River:  middle and downstream"}},
    {"Mediterranean",
     5,
     {"small mid-altitude", "medium lowland", "large lowland", "small/medium mediterranean mountains",
      "small mediterranean temporary"}},
    {"Northern",
     8,
     {"small lowland siliceous moderate alcalinity", "small lowland siliceous", "small lowland organic",
      "medium/large lowland siliceous moderate alcalinity", "small mid-altitude siliceous",
      "mid-altitude siliceous", "small higland siliceous", "small highland organic"}},
}};

} // namespace

const GigInfo& gigInfo(Gig gig) {
    return gigs.at(static_cast<std::size_t>(gig));
}

std::string typeCode(Gig gig, RiverType riverType) {
    return std::string("R-") + gigInitial(gig) + std::to_string(riverType + 1);
}

std::string typeCaption(Gig gig, RiverType riverType) {
    return typeCode(gig, riverType) + " (" +
           std::string(gigInfo(gig).riverTypeDescriptions.at(static_cast<std::size_t>(riverType))) + ")";
}

namespace {

// A GIG's name as it is compared: upper case, its letters and digits only, so that
// "Central / Baltic", "Central Baltic" and "central-baltic" are one name.
std::string nameKey(std::string_view text) {
    std::string key;
    for (const char c : toUpperAscii(text)) {
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            key += c;
        }
    }
    return key;
}

} // namespace

std::optional<Gig> parseGig(std::string_view text) {
    const std::string key = nameKey(text);
    for (const Gig gig : allGigs) {
        const std::string caption = nameKey(gigInfo(gig).caption);
        if (!key.empty() && (key == caption || key == caption.substr(0, 3) || key == std::to_string(gig))) {
            return gig;
        }
    }
    return std::nullopt;
}

std::optional<RiverType> parseTypeCode(Gig gig, std::string_view code) {
    std::string upper = toUpperAscii(trimBlanks(code));
    for (int t = 0; t < gigInfo(gig).riverTypeCount; ++t) {
        if (upper == typeCode(gig, t)) {
            return t;
        }
    }
    return std::nullopt;
}

} // namespace torrentix
