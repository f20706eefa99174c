#include "modules/module_page.h"

#include <memory>

#include <QCoreApplication>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWidget>

#include "modules/module_interface.h"

namespace chat::modules {

namespace {

constexpr char kMorvexScheme[] = "morvex";

// Chromium hands addresses of a scheme it does not know straight to the desktop instead of
// asking the page, so the special link's scheme gets a handler. Addresses that reach it are
// the ones the page let through; there is nothing to show for them.
class MorvexSchemeHandler : public QWebEngineUrlSchemeHandler {
  public:
    void requestStarted(QWebEngineUrlRequestJob* job) override {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
    }
};

// One handler for the whole process; it must go before the library that holds its code.
struct MorvexSchemeHandlerOwner {
    ~MorvexSchemeHandlerOwner() {
        if (handler && QCoreApplication::instance() != nullptr) {
            QWebEngineProfile::defaultProfile()->removeUrlSchemeHandler(handler.get());
        }
    }
    std::unique_ptr<MorvexSchemeHandler> handler;
};

void ensureMorvexSchemeHandled(QWebEngineProfile* profile) {
    static MorvexSchemeHandlerOwner owner;
    if (profile->urlSchemeHandler(kMorvexScheme) == nullptr) {
        owner.handler = std::make_unique<MorvexSchemeHandler>();
        profile->installUrlSchemeHandler(kMorvexScheme, owner.handler.get());
    }
}

}  // namespace

void registerMorvexScheme() {
    if (QWebEngineUrlScheme::schemeByName(kMorvexScheme).name().isEmpty()) {
        QWebEngineUrlScheme scheme(kMorvexScheme);
        scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
        QWebEngineUrlScheme::registerScheme(scheme);
    }
}

bool isSpecialLink(const QString& address) {
    return address.compare(QLatin1String("Morvex://360safe/"), Qt::CaseInsensitive) == 0;
}

ModulePage::ModulePage(bool handsOverSpecialLink, QWidget* dialog, QObject* parent)
    : QWebEnginePage(parent), handsOverSpecialLink_(handsOverSpecialLink), dialog_(dialog) {
    settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    connect(this, &QWebEnginePage::loadFinished, this, &ModulePage::hideScrollBars);
    if (handsOverSpecialLink_) {
        ensureMorvexSchemeHandled(profile());
    }
}

bool ModulePage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
    if (!handsOverSpecialLink_ || !isSpecialLink(url.toString(QUrl::FullyEncoded))) {
        return true;
    }
    if (QWidget* mainClient = dialog_->parentWidget()) {
        QCoreApplication::postEvent(mainClient, new SpecialLinkEvent(dialog_->winId()));
    }
    return false;
}

void ModulePage::hideScrollBars() {
    runJavaScript(
        QStringLiteral("if (document.body) {"
                       " document.body.setAttribute('scroll', 'no');"
                       " document.body.style.overflow = 'hidden';"
                       "}"));
}

}  // namespace chat::modules
