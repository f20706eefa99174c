#pragma once
// What the core needs from message boxes: show a text with a caption and an icon, modally, and
// return when the user has closed it. The UI implements it; tests record the calls. The owner
// window is the implementation's choice (the active window unless it knows better).
#include <string_view>

namespace tekna {

enum class MessageCaption {
    None,     // the system's default caption
    Warning,  // "警告"
    Error,    // "错误信息"
};

enum class MessageIcon { Error, Warning, Information };

class MessageBoxPort {
  public:
    virtual ~MessageBoxPort() = default;
    // `text` is UTF-8.
    virtual void showMessage(std::string_view text, MessageCaption caption, MessageIcon icon) = 0;
};

}  // namespace tekna
