#pragma once
// The modal wait prompt as the chat client sees it.
#include <QPointer>
#include <QWidget>

#include "client/ports/prompt_port.h"

namespace chat {

class QtPromptPort final : public PromptPort {
  public:
    // Prompts are centred over `owner` (over the screen while there is none).
    explicit QtPromptPort(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    int showModalPrompt(const std::string& utf8Text, bool cancellable) override;
    void closeAllPrompts() override;

  private:
    QPointer<QWidget> owner_;
};

}  // namespace chat
