#pragma once
// A label for texts of any length: each line that does not fit is shortened in the middle
// ("BAETI…IDAE"), the whole text stays in the tooltip and for screen readers, and the
// label never asks its window to grow for a long text.

#include <QLabel>

namespace torrentix {

class ElidedLabel : public QLabel {
    Q_OBJECT
  public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // What the label shows, for screen readers: they hear "caption: text".
    void setCaption(const QString& caption);
    void setFullText(const QString& text);
    const QString& fullText() const { return full_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void elide();
    void nameForReaders();

    QString caption_;
    QString full_;
};

} // namespace torrentix
