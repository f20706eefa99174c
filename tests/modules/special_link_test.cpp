#include <gtest/gtest.h>

#include <ostream>

#include <QCoreApplication>
#include <QUrl>

#include "main_client_window.h"
#include "modules/module_page.h"

namespace {

struct LinkCase {
    const char* address;
    bool special;
};

void PrintTo(const LinkCase& link, std::ostream* out) {
    *out << '"' << link.address << '"';
}

class SpecialLink : public testing::TestWithParam<LinkCase> {};

TEST_P(SpecialLink, IsTheWholeAddressWithoutRegardToCase) {
    EXPECT_EQ(chat::modules::isSpecialLink(QString::fromLatin1(GetParam().address)),
              GetParam().special);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, SpecialLink,
    testing::Values(LinkCase{"Morvex://360safe/", true}, LinkCase{"MORVEX://360SAFE/", true},
                    LinkCase{"morvex://360Safe/", true}, LinkCase{"Morvex://360safe/x", false},
                    LinkCase{"Morvex://360safe", false}, LinkCase{" Morvex://360safe/", false},
                    LinkCase{"http://360safe/", false}, LinkCase{"", false}));

struct DecisionCase {
    bool handsOverSpecialLink;
    const char* address;
    bool navigates;
};

void PrintTo(const DecisionCase& decision, std::ostream* out) {
    *out << (decision.handsOverSpecialLink ? "handing over " : "keeping ") << decision.address;
}

class PageDecision : public testing::TestWithParam<DecisionCase> {};

// The page that hands the link over tells the main client's window which dialog saw it.
TEST_P(PageDecision, CancelsAndReportsOnlyTheSpecialLink) {
    MainClientWindow mainClient;
    auto* dialog = new QWidget(&mainClient);
    chat::modules::ModulePage page(GetParam().handsOverSpecialLink, dialog, nullptr);

    EXPECT_EQ(page.acceptNavigationRequest(QUrl(QString::fromLatin1(GetParam().address)),
                                           QWebEnginePage::NavigationTypeLinkClicked, true),
              GetParam().navigates);
    QCoreApplication::sendPostedEvents(&mainClient);

    const std::vector<ModuleWindowHandle> expected =
        GetParam().navigates ? std::vector<ModuleWindowHandle>{}
                             : std::vector<ModuleWindowHandle>{dialog->winId()};
    EXPECT_EQ(mainClient.specialLinkDialogs, expected);
}

INSTANTIATE_TEST_SUITE_P(Pages, PageDecision,
                         testing::Values(DecisionCase{true, "MORVEX://360SAFE/", false},
                                         DecisionCase{true, "Morvex://360safe/", false},
                                         DecisionCase{true, "Morvex://360safe/x", true},
                                         DecisionCase{true, "http://360safe/", true},
                                         DecisionCase{false, "Morvex://360safe/", true}));

}  // namespace
