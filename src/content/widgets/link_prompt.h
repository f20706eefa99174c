#pragma once
// The small prompt that opens at the mouse pointer when an address in the chat box is clicked:
// "您是否确认要打开这个网址？" with the choices "直接打开", "复制网址" and "取消". Any choice
// closes it, and so does a click elsewhere (the prompt loses activation). Only http, https, ftp
// and mailto addresses are opened; an address that starts with "www." opens as http://.
#include <QDialog>
#include <QUrl>
#include <functional>
#include <optional>

class QLabel;

namespace chat {

// Hands an address to the system's default handler; tests put their own in its place.
using UrlOpener = std::function<void(const QUrl&)>;
UrlOpener systemUrlOpener();

// The address that the link text opens, or nothing when its scheme is not one that may be opened.
std::optional<QUrl> openableAddress(const QString& linkText);

class LinkPrompt : public QDialog {
    Q_OBJECT

  public:
    // Control ids of the prompt's three choices.
    static constexpr int kOpenId = 1038;
    static constexpr int kCopyId = 1039;
    static constexpr int kCancelId = 2;

    LinkPrompt(QString address, UrlOpener opener, QWidget* parent);

    const QString& address() const { return address_; }
    // The label of a choice, by its control id.
    QLabel* choice(int id) const;

    // The choices, as a click on their labels makes them. Each closes the prompt.
    void openAddress();
    void copyAddress();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QLabel* addChoice(int id, const QString& text);

    QString address_;
    UrlOpener opener_;
};

}  // namespace chat
