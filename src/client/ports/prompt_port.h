#pragma once
// How the chat client reaches the modal wait prompt: a dialog that waits for the server shows the
// prompt, and the arrival of the awaited answer (or a fatal error) closes every open prompt.
#include <string>

namespace chat {

class PromptPort {
  public:
    // Results of showModalPrompt.
    static constexpr int kCancelled = 2;         // the user clicked "取消" or pressed Esc
    static constexpr int kClosedByCloseAll = 8;  // closeAllPrompts ended it: the answer arrived

    virtual ~PromptPort() = default;

    // Shows the prompt and returns only when it ends (events keep being processed meanwhile).
    // Opening a prompt closes any prompt that is open. Only a cancellable prompt offers "取消".
    virtual int showModalPrompt(const std::string& utf8Text, bool cancellable) = 0;

    // Ends every open prompt with kClosedByCloseAll.
    virtual void closeAllPrompts() = 0;
};

}  // namespace chat
