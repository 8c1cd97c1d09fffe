#include "graphs/imageformat.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <iterator>

namespace torrentix {
namespace {

struct FormatName {
    ImageFormat format;
    const char* suffix;
    const char* filter;
};
constexpr FormatName formatNames[] = {{ImageFormat::Png, "png", "PNG image (*.png)"},
                                      {ImageFormat::Svg, "svg", "SVG drawing (*.svg)"},
                                      {ImageFormat::Pdf, "pdf", "PDF document (*.pdf)"}};

template <typename Matches> const FormatName* findFormat(Matches matches) {
    const auto* found = std::find_if(std::begin(formatNames), std::end(formatNames), matches);
    return found == std::end(formatNames) ? nullptr : found;
}

const FormatName* formatOfSuffix(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return findFormat([&suffix](const FormatName& f) { return suffix == QLatin1String(f.suffix); });
}

} // namespace

QString imageFilters() {
    QStringList filters;
    for (const FormatName& f : formatNames) {
        filters << QString::fromLatin1(f.filter);
    }
    return filters.join(QStringLiteral(";;"));
}

ImageFormat imageFormatFor(const QString& path, const QString& selectedFilter) {
    const FormatName* named = formatOfSuffix(path);
    if (named == nullptr) {
        named = findFormat(
            [&selectedFilter](const FormatName& f) { return selectedFilter == QLatin1String(f.filter); });
    }
    return named == nullptr ? ImageFormat::Png : named->format;
}

QString withImageSuffix(const QString& path, ImageFormat format) {
    if (formatOfSuffix(path) != nullptr) {
        return path;
    }
    const FormatName* named = findFormat([format](const FormatName& f) { return f.format == format; });
    return path + "." + QLatin1String(named->suffix);
}

} // namespace torrentix
