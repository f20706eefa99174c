#pragma once
// A system line shown three times, 5000 ms apart: now and at two timer ticks. Starting another
// one ends the running repetition. The chat box owns the timer; this says what each tick shows.
#include <optional>
#include <string>

namespace chat {

class RepeatedSystemLine {
  public:
    static constexpr int kPeriodMilliseconds = 5000;
    static constexpr int kTimesShown = 3;

    // The line to show now; nothing (and no repetition) for an empty text.
    std::optional<std::u16string> start(std::u16string text);
    // The timer fired: the line to show, or nothing when the repetition is over and the timer
    // must stop.
    std::optional<std::u16string> tick();
    bool running() const { return remaining_ > 0; }

  private:
    std::u16string text_;
    int remaining_ = 0;  // showings still to come
};

}  // namespace chat
