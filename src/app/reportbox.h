#pragma once
// The report box of the RESULTS view: read-only text, wrapped to its width, that can be
// scrolled and copied.
// Only the arrow keys, Page Up and Page Down, Home and End (with Ctrl: of the whole
// report), Ctrl+A, and Ctrl+C or Ctrl+Insert act; every other key is discarded.

#include <QPlainTextEdit>

namespace torrentix {

// Whether a key acts in the report box.
bool reportKeyAllowed(int key, Qt::KeyboardModifiers modifiers);

class ReportBox : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit ReportBox(QWidget* parent = nullptr); // object name "reportLabel"

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace torrentix
