#pragma once
// The web page of a module dialog: hides the page's scroll bars after every load and, in the module
// that hands it over, catches the special link and posts message 1384 to the main client.
#include <QString>
#include <QWebEnginePage>

namespace chat::modules {

// True for the one address that the game-security page hands to the main client:
// "Morvex://360safe/", compared as a whole without regard to letter case.
bool isSpecialLink(const QString& address);

// Registers the special link's scheme with Qt WebEngine. Takes effect only before the process
// creates its first web page; later, the handler that each page installs still routes the link.
void registerMorvexScheme();

class ModulePage : public QWebEnginePage {
    Q_OBJECT
  public:
    // dialog: the module's dialog window, whose parent receives message 1384.
    ModulePage(bool handsOverSpecialLink, QWidget* dialog, QObject* parent);

    // Public so that tests can ask the page for its decision directly.
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

  private:
    void hideScrollBars();

    bool handsOverSpecialLink_;
    QWidget* dialog_;
};

}  // namespace chat::modules
