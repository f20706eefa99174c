#pragma once
// The modal wait prompt shown while the client waits for the server: a light-blue box with the
// message and, when the wait may be cancelled, the link "取消". Only one prompt is open at a time:
// opening one closes the others. When the awaited answer arrives, closeAll() ends every open prompt
// with kClosedByCloseAll; cancelling ends it with kCancelled.
#include <QDialog>
#include <QString>

#include <cstddef>

#include "client/ports/prompt_port.h"

namespace tekna {
class HyperLinkCtrl;
}

namespace chat {

class CDlgModalPrompt : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kCancelled = PromptPort::kCancelled;
    static constexpr int kClosedByCloseAll = PromptPort::kClosedByCloseAll;
    static constexpr int kCancelCommandId = 2;
    static constexpr int kHorizontalPadding = 48;
    static constexpr int kVerticalPadding = 24;
    static constexpr int kCancelBandHeight = 24;
    static constexpr QRgb kBorderColour = 0xFF505080;  // RGB(80, 80, 128)
    static constexpr QRgb kFillColour = 0xFFD6EEFF;    // RGB(214, 238, 255)

    CDlgModalPrompt(QWidget* owner, const QString& text, bool cancellable);
    ~CDlgModalPrompt() override;

    // Ends every open prompt with kClosedByCloseAll and empties the list of open prompts.
    static void closeAll();
    static std::size_t openCount();

    QString text() const { return text_; }
    bool isCancellable() const { return cancelLink_ != nullptr; }
    tekna::HyperLinkCtrl* cancelLink() const { return cancelLink_; }

    // Esc cancels only a cancellable prompt.
    void reject() override;
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    tekna::HyperLinkCtrl* cancelLink_ = nullptr;
    int textBandHeight_ = 0;

    void layOut();
    void centreOverOwner();
    void leaveList();
};

}  // namespace chat
