#pragma once
// The window of a module dialog: a child window without caption that holds the web browser one
// pixel inside a green frame.
#include <QString>
#include <QWidget>

class QWebEngineView;

namespace chat::modules {

class MainDlgWindow : public QWidget {
    Q_OBJECT
  public:
    static constexpr QRgb kFrameColour = qRgb(0, 141, 66);

    MainDlgWindow(bool handsOverSpecialLink, int browserControl, QWidget* parent);

    void navigate(const QString& address);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QWebEngineView* browser_;
};

}  // namespace chat::modules
