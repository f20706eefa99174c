#pragma once
// A demo chatter that lives in one room without a connection: it greets newcomers, answers
// messages from a small rule table and says its lines in turn, so that a demo room is never silent.
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "protocol/commands/chatter_record.h"
#include "server_config.h"

namespace chatserver {

class DemoBot {
  public:
    using Clock = std::chrono::steady_clock;

    // The first line is due firstLineSeconds after `now`.
    DemoBot(BotConfig config, uint32_t chatterId, Clock::time_point now);

    const BotConfig& config() const { return config_; }
    const chat::ChatterRecord& record() const { return record_; }

    // The greeting for a newcomer, with "{name}" replaced by the newcomer's nickname.
    std::optional<std::u16string> greet(const std::u16string& newcomer) const;
    // The answer to `text`: the reply of the first rule whose keyword the text contains; when
    // none matches, the default reply, but only to a whisper (public chatter would be flooded).
    std::optional<std::u16string> answer(const std::u16string& text, bool whisperedToMe) const;

    // Starts the lines again from the first, due firstLineSeconds after `now`.
    void restartLines(Clock::time_point now);
    // When the next line is due; nothing for a bot without lines.
    std::optional<Clock::time_point> nextLineDue() const;
    // The line due at `now`, if any; the one after it is due an interval later (a late call
    // starts the interval at `now` rather than catching up with a burst).
    const BotLine* takeDueLine(Clock::time_point now);

  private:
    BotConfig config_;
    chat::ChatterRecord record_;
    size_t nextLine_ = 0;
    Clock::time_point lineDue_;
};

}  // namespace chatserver
