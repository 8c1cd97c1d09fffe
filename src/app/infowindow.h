#pragma once
// The information window: what the program does and for whom, how to cite it, its terms
// of use and the scientific sources of its metrics, on pages chosen by buttons. At
// start-up it stands alone without buttons and hides as soon as the mouse moves over it,
// a mouse button is pressed or any key is pressed.

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace torrentix {

class InfoWindow : public QDialog {
    Q_OBJECT
  public:
    static constexpr int pageCount = 4;

    explicit InfoWindow(QWidget* parent = nullptr); // object name "infoWindow"

    // Start-up form: first page, no buttons, hides on mouse movement, a click or any key.
    void prepareForStartup();
    // Form of the "INFO" button: first page with the page buttons and "close".
    void prepareOnRequest();

    int page() const;
    void showPage(int index);
    bool hidesOnMouseMove() const { return hideOnMove_; }

    // Texts of the pages (rich text), in button order.
    static QString pageText(int index);
    static QString pageButtonCaption(int index);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void watchDescendants();

    QStackedWidget* pages_ = nullptr;
    std::array<QPushButton*, pageCount> pageButtons_{};
    QPushButton* closeButton_ = nullptr;
    bool hideOnMove_ = false;
};

} // namespace torrentix
