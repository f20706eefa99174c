#pragma once
// Stands in for the main client's window: a native parent for module dialogs that records the
// 1384 messages it receives.
#include <vector>

#include <QWidget>

#include "modules/module_interface.h"

class MainClientWindow : public QWidget {
  public:
    MainClientWindow() {
        resize(800, 600);
        show();
        winId();
    }

    ModuleWindowHandle handle() const { return winId(); }

    std::vector<ModuleWindowHandle> specialLinkDialogs;

  protected:
    void customEvent(QEvent* event) override {
        if (event->type() == static_cast<QEvent::Type>(kSpecialLinkMessage)) {
            const auto* message = static_cast<SpecialLinkEvent*>(event);
            EXPECT_EQ(message->secondParameter, 0);
            specialLinkDialogs.push_back(message->dialogWindow);
        }
    }
};
