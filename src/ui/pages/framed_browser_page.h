#pragma once
// A page that shows a web page inside a one-pixel frame of RGB(0, 141, 66); the browser fills the
// rest, at (1, 1) with the page's size less 2 each way.
#include <QColor>
#include <QWebEngineView>
#include <QWidget>

namespace chat {

class FramedBrowserPage : public QWidget {
    Q_OBJECT

  public:
    static constexpr QColor kFrameColour{0, 141, 66};

    explicit FramedBrowserPage(QWidget* parent = nullptr);

    QWebEngineView* browser() const { return browser_; }
    void navigate(const std::u16string& address);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWebEngineView* browser_;
};

}  // namespace chat
