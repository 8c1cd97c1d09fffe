#pragma once
// The file formats of an exported figure, as a save dialog offers them and as a chosen
// file name asks for them.

#include <QString>

namespace torrentix {

enum class ImageFormat { Png, Svg, Pdf };

// The file-dialog filters of the three formats, PNG first.
QString imageFilters();
// The format of a chosen file: its suffix, else the chosen filter, else PNG.
ImageFormat imageFormatFor(const QString& path, const QString& selectedFilter);
// The path with the format's suffix added when it ends in none of .png, .svg and .pdf.
QString withImageSuffix(const QString& path, ImageFormat format);

} // namespace torrentix
