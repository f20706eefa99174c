#pragma once
// The dialog that asks a user for a four-character code before the first message in a room that
// requires it. The code is drawn as warped outline text; a wrong answer keeps the dialog open
// with a new code.
#include <QDialog>
#include <QWidget>
#include <string>
#include <string_view>

#include "media/verify_code.h"
#include "util/message_box_port.h"

class QLineEdit;
class QPushButton;

namespace tekna {
class HyperLinkCtrl;
}

namespace chat {

inline constexpr std::string_view kWrongVerifyCodeText = "验证码错误，请重试！";

// Draws the code: white with a black frame, the text as an Arial outline warped onto the corners
// of verifyCodeWarp (each painting draws the number that picks the direction of the warp).
class VerifyCodePic : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kControlId = 1093;

    VerifyCodePic(RandomSource random, QWidget* parent = nullptr);

    const std::u16string& code() const { return code_; }
    void setCode(std::u16string code);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    RandomSource random_;
    std::u16string code_;
};

class DlgVerifyCode : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kEntryId = 1094;
    static constexpr int kLinkId = 1095;

    explicit DlgVerifyCode(tekna::MessageBoxPort& messages, RandomSource random = cLibraryRandom,
                           QWidget* parent = nullptr);

    // Opens the dialog over `owner`; true when the user typed the right code and pressed OK,
    // false when the user cancelled.
    static bool ask(QWidget* owner, tekna::MessageBoxPort& messages);

    const std::u16string& code() const { return picture_->code(); }
    QLineEdit* entry() const { return entry_; }
    tekna::HyperLinkCtrl* link() const { return link_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

  private:
    void newCode();
    void checkAnswer();

    tekna::MessageBoxPort& messages_;
    RandomSource random_;
    VerifyCodePic* picture_;
    tekna::HyperLinkCtrl* link_;
    QLineEdit* entry_;
    QPushButton* ok_;
    QPushButton* cancel_;
};

}  // namespace chat
