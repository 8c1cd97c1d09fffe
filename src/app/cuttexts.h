#pragma once
// Whether the captions, buttons and labels of a window show their whole text at its
// current size and font: the check the documentation's screenshots and the tests make.

#include <QStringList>

class QWidget;

namespace torrentix {

// Each visible caption, button and label of `root` whose whole text does not show, or
// that a button beside it covers: its object name and text. A label that wraps needs room
// for its widest word and all its lines; a label that shortens its text on purpose counts
// as whole, and a rich text is not measured.
QStringList cutTexts(const QWidget& root);

} // namespace torrentix
