#include "ui/prompts/qt_prompt_port.h"

#include <QPointer>

#include "ui/prompts/dlg_modal_prompt.h"

namespace chat {

int QtPromptPort::showModalPrompt(const std::string& utf8Text, bool cancellable) {
    // The prompt is a child of its owner, and the owner may be destroyed while the prompt waits
    // (a fatal error closes all prompts and then the main window): the prompt lives on the heap and
    // its result is taken when it finishes, not from what is left after its loop returns.
    QPointer<CDlgModalPrompt> prompt =
        new CDlgModalPrompt(owner_, QString::fromStdString(utf8Text), cancellable);
    int result = 0;
    QObject::connect(prompt, &QDialog::finished, prompt, [&result](int code) { result = code; });
    prompt->exec();
    delete prompt.data();
    return result;
}

void QtPromptPort::closeAllPrompts() {
    CDlgModalPrompt::closeAll();
}

}  // namespace chat
