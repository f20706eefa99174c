#pragma once
// A message box port for tests: remembers every message instead of showing it.
#include <string>
#include <string_view>
#include <vector>

#include "util/message_box_port.h"

namespace chat::test {

struct ShownMessage {
    std::string text;  // UTF-8
    tekna::MessageCaption caption;
    tekna::MessageIcon icon;
    bool operator==(const ShownMessage&) const = default;
};

class RecordingMessages final : public tekna::MessageBoxPort {
  public:
    void showMessage(std::string_view text, tekna::MessageCaption caption,
                     tekna::MessageIcon icon) override {
        shown.push_back({std::string(text), caption, icon});
    }
    std::vector<ShownMessage> shown;
};

}  // namespace chat::test
