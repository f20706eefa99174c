#include "ui/prompts/qt_prompt_port.h"

#include "ui/prompts/dlg_modal_prompt.h"

namespace chat {

int QtPromptPort::showModalPrompt(const std::string& utf8Text, bool cancellable) {
    CDlgModalPrompt prompt(owner_, QString::fromStdString(utf8Text), cancellable);
    return prompt.exec();
}

void QtPromptPort::closeAllPrompts() {
    CDlgModalPrompt::closeAll();
}

}  // namespace chat
