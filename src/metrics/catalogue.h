#pragma once
// The Geographical Intercalibration Groups (GIGs) and their river types. The GIG decides
// the metrics and the GIG index; the river type is a label of the report and results.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace torrentix {

enum Gig { Alpine = 0, CentralBaltic = 1, EasternContinental = 2, Mediterranean = 3, Northern = 4 };
inline constexpr int gigCount = 5;
// A river type of a GIG: its 0-based place in the GIG's list (R-A1 is 0 of Alpine).
using RiverType = int;
inline constexpr std::array<Gig, gigCount> allGigs = {Alpine, CentralBaltic, EasternContinental,
                                                      Mediterranean, Northern};
// The GIG of a number 0..4 (of a list, a button), which must be one.
inline Gig gigOf(int number) {
    return allGigs.at(static_cast<std::size_t>(number));
}
inline constexpr int maxRiverTypes = 8;

struct GigInfo {
    std::string_view caption;
    int riverTypeCount;
    std::array<std::string_view, maxRiverTypes> riverTypeDescriptions;
};

const GigInfo& gigInfo(Gig gig);

// First character of the caption: the initial of the river-type codes.
inline char gigInitial(Gig gig) {
    return gigInfo(gig).caption.front();
}
// First three characters of the caption ("Alp", "Cen", "Eas", "Med", "Nor").
inline std::string gigShortName(Gig gig) {
    return std::string(gigInfo(gig).caption.substr(0, 3));
}

// "R-" + initial + number, e.g. "R-E6" for type index 5 of the Eastern continental GIG.
std::string typeCode(Gig gig, RiverType riverType);
// Code + " (" + description + ")".
std::string typeCaption(Gig gig, RiverType riverType);

// Reads a GIG from its caption (any case; blanks, "/" and "-" do not matter: "Central
// Baltic", "central-baltic"), its first three letters or its index 0..4.
std::optional<Gig> parseGig(std::string_view text);
// Reads a river-type code of the given GIG ("R-A1", any case) into its 0-based index.
std::optional<RiverType> parseTypeCode(Gig gig, std::string_view code);

} // namespace torrentix
