#pragma once
// Turns SIGTERM, SIGINT and SIGHUP (the session ending, Ctrl+C in a terminal, a service manager
// stopping the program) into an ordinary close of the main window on the window thread, so that
// every open room is left and its chat records are saved, instead of the process just dying.
#include <QObject>
#include <functional>

class QSocketNotifier;

namespace chat {

class TerminationSignals : public QObject {
    Q_OBJECT

  public:
    // `onSignal` runs on the window thread after any of the signals arrived. One instance per
    // process; a second gets no signals.
    explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~TerminationSignals() override;

  private:
    void readSignal();

    std::function<void()> onSignal_;
    int fds_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace chat
