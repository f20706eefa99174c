#pragma once
// CInputDlg: the input bar under a room's chat box — the addressee selector, the row of strip
// buttons (font, emoticon, picture, screenshot, settings, room menu, send, quick replies) and the
// input box. Sending runs the room's speaking rules first and then hands the box's content to the
// send step; refusals are message boxes and leave the box as it was.
#include <QComboBox>
#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "client/speaking_rules.h"
#include "content/message_composer.h"
#include "content/text_style.h"
#include "protocol/commands/admin_blocks.h"
#include "ui/room/input/input_box.h"
#include "ui/room/input/strip_button.h"
#include "util/message_box_port.h"

namespace chat {

class UserConfig;

struct InputDlgContext {
    int32_t roomId = 0;
    bool privateRoom = false;
    uint32_t roomAttributes = 0;
    uint32_t accountLevel = 0;
    uint32_t roomRoleBits = 0;  // the user's own bits in this room (owner 0x20, admin 0x40)
    UserConfig* config = nullptr;
    // The send step for the room (ChatClient::sendMessage); true when the message went out.
    std::function<bool(const InputBoxContent&)> send;
    // The user chose a new text style (ChatClient::setOwnMessageStyle, which stores and saves
    // it). Without one the style is saved into `config` directly.
    std::function<void(const TextStyle&)> styleChanged;
    // Where refusals are shown; null: the program's message boxes.
    tekna::MessageBoxPort* messages = nullptr;
    // The millisecond clock of the speaking interval; empty: the system's.
    SpeakingRules::Clock clock;
    // The first-speech verification; empty: passes (the code dialog is not built yet).
    SpeakingRules::Verifier verifyFirstSpeech;
};

class CInputDlg : public QWidget {
    Q_OBJECT

  public:
    // Control ids of the bar.
    enum Control : int {
        kInputBoxId = 1012,
        kFontButtonId = 1014,
        kAddresseeId = 1015,
        kEmoticonButtonId = 1016,
        kPictureButtonId = 1017,
        kSettingsButtonId = 1018,
        kScreenshotButtonId = 1019,
        kSendButtonId = 1022,
        kQuickRepliesButtonId = 1029,
        kRoomMenuButtonId = 1050,
    };
    static constexpr int kEverybody = -1;
    static constexpr int kButtonTop = 4;
    static constexpr int kGap = 2;
    static constexpr int kBoxTop = 30;
    static constexpr QRgb kBackground = 0xFFF2F6FB;  // RGB(242, 246, 251)
    static constexpr QRgb kBoxFrame = 0xFF85A6DD;    // RGB(133, 166, 221)

    CInputDlg(InputDlgContext context, QWidget* parent = nullptr);

    InputBox* inputBox() const { return box_; }
    QComboBox* addresseeSelector() const { return addressee_; }
    // The button of a control id, or null.
    StripButton* button(int controlId) const;
    const SpeakingRules& speakingRules() const { return rules_; }

    // Selects the chatter's entry, adding it when missing, and focuses the box. A private room
    // keeps "所有人".
    void chooseAddressee(int32_t chatterId, const QString& nickname);
    // The item value of the selected entry; none when nothing is selected.
    std::optional<int32_t> selectedAddressee() const;
    // Removes the first entry with that value; a removed selection goes back to "所有人".
    void removeAddressee(int32_t chatterId);
    void clearAddressee();

    // Keeps the room's new rules; with `limitInputLength` the box takes at most max characters
    // - 1 characters.
    void applyRoomSettings(const RoomSettingBlock& settings, bool limitInputLength);
    // The user's own bits in this room (owner 0x20, administrator 0x40) as the server now tells
    // them: the speaking rules and the buttons follow.
    void setRoomRoles(uint32_t roomRoleBits);
    // Clears the addressee, appends "<nickname> 您好:" and a line break, focuses the box.
    void greet(const QString& nickname);
    // The send step of the bar (message 2032 of the send button and the send keys).
    void send();
    // Runs the font dialog and applies the chosen style.
    void chooseFont();
    // Makes `style` the user's style (a reserved style of a user who may not use it turns
    // black) and the box's default format.
    void applyChosenStyle(const TextStyle& style);

  signals:
    void pictureRequested();
    void settingsRequested();
    void quickRepliesRequested(QPoint bottomRightAt);
    void roomMenuRequested(QPoint globalPos);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void addButton(Control id, const char* caption, const char* strip, int width);
    void placeLeftGroup(const BarButtons& shown);
    void showButtonsForRoles();
    void placeRightGroup();
    // The right group and the box follow the bar's size.
    void layoutControls();
    void showRefusal(const Refusal& refusal);

    InputDlgContext context_;
    std::unique_ptr<tekna::MessageBoxPort> ownMessages_;
    tekna::MessageBoxPort* messages_;
    SpeakingRules rules_;
    QComboBox* addressee_;
    InputBox* box_;
    std::map<int, StripButton*> buttons_;
};

}  // namespace chat
