#pragma once
// Captions: one too wide for its control broken into lines, for the controls that take a
// caption of several lines but do not wrap it themselves (options, check boxes); the font of
// one that stands out from the text it follows.

#include <QFont>
#include <QString>

class QFontMetrics;

namespace torrentix {

// `text` with its spaces turned into line breaks where a line would pass `width` pixels;
// a word wider than `width` keeps a line of its own.
QString captionLines(const QString& text, const QFontMetrics& fm, int width);

// The font of a caption that stands out: bold, `factor` times as large as `text`.
QFont standingOutFont(const QFont& text, double factor);

} // namespace torrentix
