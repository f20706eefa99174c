#pragma once
// The prepared replies of one login account, each with a one-character hot key. Texts are unique
// (exact comparison) and never empty; several replies may share a hot key, the first in list
// order wins a lookup, and hot keys are compared without regard to letter case.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace chat {

struct QuickReply {
    char hotKey = 0;  // a letter or digit as typed
    std::u16string text;
    bool operator==(const QuickReply&) const = default;
};

class QuickReplyList {
  public:
    // False, with nothing changed, when the text is empty or already in the list.
    bool add(std::u16string text, char hotKey);
    std::optional<std::u16string> findByHotKey(char hotKey) const;
    // Removes every reply with exactly this text.
    void removeByText(std::u16string_view text);
    void clear() { replies_.clear(); }

    const std::vector<QuickReply>& replies() const { return replies_; }

  private:
    std::vector<QuickReply> replies_;
};

// Why the settings file could not keep `text` as a reply (the text is the key of its entry), as a
// message for the edit dialog; empty when it can. `replacing` is the text of the reply being
// edited, which does not count as a clash.
std::string quickReplyTextProblem(std::u16string_view text, const QuickReplyList& list,
                                  std::u16string_view replacing = {});

}  // namespace chat
