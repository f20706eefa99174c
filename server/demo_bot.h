#pragma once
// A demo chatter that lives in one room without a connection: it greets newcomers and answers
// messages from a small rule table, so that a demo room is never silent.
#include <cstdint>
#include <optional>
#include <string>

#include "protocol/commands/chatter_record.h"
#include "server_config.h"

namespace chatserver {

class DemoBot {
  public:
    DemoBot(BotConfig config, uint32_t chatterId);

    const BotConfig& config() const { return config_; }
    const chat::ChatterRecord& record() const { return record_; }

    // The greeting for a newcomer, with "{name}" replaced by the newcomer's nickname.
    std::optional<std::u16string> greet(const std::u16string& newcomer) const;
    // The answer to `text`: the reply of the first rule whose keyword the text contains; when
    // none matches, the default reply, but only to a whisper (public chatter would be flooded).
    std::optional<std::u16string> answer(const std::u16string& text, bool whisperedToMe) const;

  private:
    BotConfig config_;
    chat::ChatterRecord record_;
};

}  // namespace chatserver
