#pragma once
// The font choice of the input bar: a font dialog for the user's text style (face, 9 to 16
// points, bold, italic, underline, strikeout, one of the colours of the system's font dialog).
// For a user who is neither customer service nor system administrator it refuses the styles kept
// for the system's own lines when OK is pressed, and stays open.
#include <QDialog>
#include <cstdint>
#include <optional>
#include <string_view>

#include "content/text_style.h"
#include "util/message_box_port.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;

namespace chat {

inline constexpr std::string_view kReservedStyleText = "您所选择的字体风格被系统保留，请重新选择！";

// The refusal text when a user of `accountLevel` may not write in `chosen`.
std::optional<std::string_view> fontChoiceRefusal(const TextStyle& chosen, uint32_t accountLevel);

class FontChoiceDialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int kSmallestPoints = 9;
    static constexpr int kLargestPoints = 16;

    FontChoiceDialog(const TextStyle& start, uint32_t accountLevel, tekna::MessageBoxPort& messages,
                     QWidget* parent = nullptr);

    // The style the controls show; the face, character set and size of `start` where the
    // controls cannot show them.
    TextStyle style() const;
    void setStyle(const TextStyle& style);

    void done(int result) override;

  private:
    void showSample();

    TextStyle start_;
    uint32_t accountLevel_;
    tekna::MessageBoxPort& messages_;
    QFontComboBox* face_;
    QComboBox* size_;
    QCheckBox* bold_;
    QCheckBox* italic_;
    QCheckBox* underline_;
    QCheckBox* strikeout_;
    QComboBox* colour_;
    QLabel* sample_;
};

}  // namespace chat
