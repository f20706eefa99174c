// The built module libraries, loaded and called the way the main client does. Each test loads a
// fresh copy of its library, so every copy starts without instances and reads its own start data.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include <QFile>
#include <QLibrary>
#include <QSignalSpy>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "main_client_window.h"
#include "modules/module_interface.h"
#include "start_data.h"

namespace {

struct ModuleCase {
    const char* name;
    const char* library;
    const char* identifier;
    const char* description;
    const char* builtInPage;
    int browserControl;
    bool handsOverSpecialLink;
};

const ModuleCase kInfo{
    "info", MODULE_INFO_LIBRARY, "yxjb", "游戏脚本", MODULE_INFO_BUILT_IN_PAGE, 1003, false};
const ModuleCase kSoniro{
    "Soniro", MODULE_SONIRO_LIBRARY, "yxyy", "游戏语音", MODULE_SONIRO_BUILT_IN_PAGE, 1003, false};
const ModuleCase kPextra{
    "Pextra", MODULE_PEXTRA_LIBRARY, "yxaq", "游戏安全", MODULE_PEXTRA_BUILT_IN_PAGE, 1001, true};

void PrintTo(const ModuleCase& module, std::ostream* out) {
    *out << module.name;
}

// A private copy of a module library: a different file is a different library to the loader.
class LoadedModule {
  public:
    explicit LoadedModule(const ModuleCase& module) {
        static int copies = 0;
        const QString copy =
            directory_.filePath(QStringLiteral("lib%1_%2.so").arg(module.name).arg(++copies));
        QFile::copy(QString::fromUtf8(module.library), copy);
        library_.setFileName(copy);
        init =
            reinterpret_cast<InitModuleInterfaceFunction>(library_.resolve("InitModuleInterface"));
        show = reinterpret_cast<ShowDlgFunction>(library_.resolve("ShowDlg"));
        EXPECT_NE(init, nullptr) << library_.errorString().toStdString();
        EXPECT_NE(show, nullptr) << library_.errorString().toStdString();
    }

    // Libraries stay loaded: the main client unloads a module only when it ends.
    InitModuleInterfaceFunction init = nullptr;
    ShowDlgFunction show = nullptr;

  private:
    QTemporaryDir directory_;
    QLibrary library_;
};

QWidget* dialogOf(ModuleWindowHandle handle) {
    return QWidget::find(static_cast<WId>(handle));
}

QWebEngineView* browserOf(ModuleWindowHandle handle) {
    QWidget* dialog = dialogOf(handle);
    return dialog == nullptr ? nullptr : dialog->findChild<QWebEngineView*>();
}

// The address the dialog's browser was asked to load.
QString requestedPage(ModuleWindowHandle handle) {
    QWebEngineView* browser = browserOf(handle);
    return browser == nullptr ? QString() : browser->page()->requestedUrl().toString();
}

QRect geometryOf(const ModuleRect& rect) {
    return QRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

std::int32_t initModule(const LoadedModule& module, tagModuleInterface** record,
                        ModuleWindowHandle parent, const ModuleRect& rect,
                        const std::vector<std::uint8_t>& startData) {
    return module.init(record, parent, &rect, startData.data(),
                       static_cast<std::uint32_t>(startData.size()));
}

// A fresh module copy whose InitModuleInterface dialog is open in a main client window.
struct OpenedModule {
    OpenedModule(const ModuleCase& module, const std::vector<std::uint8_t>& startData,
                 const ModuleRect& rect = {0, 0, 300, 200})
        : loaded(module) {
        EXPECT_EQ(initModule(loaded, &record, mainClient.handle(), rect, startData), kModuleOk);
    }

    ModuleWindowHandle dialog() const { return record == nullptr ? 0 : record->mainWindow; }

    MainClientWindow mainClient;
    LoadedModule loaded;
    tagModuleInterface* record = nullptr;
};

class ModuleLibrary : public testing::TestWithParam<ModuleCase> {
  protected:
    MainClientWindow mainClient_;
    LoadedModule module_{GetParam()};
};

TEST_P(ModuleLibrary, InitModuleInterfaceShowsTheStartPageAndDescribesTheModule) {
    const ModuleRect rect{10, 20, 410, 320};
    tagModuleInterface* record = nullptr;
    ASSERT_EQ(
        initModule(module_, &record, mainClient_.handle(), rect,
                   startRecord(kStartKeyPageAddress, std::string("http://127.0.0.1:9/a\0", 21))),
        kModuleOk);
    ASSERT_NE(record, nullptr);

    EXPECT_EQ(std::string(record->identifier, sizeof record->identifier), GetParam().identifier);
    EXPECT_EQ(QStringDecoder("GBK")(QByteArrayView(record->description)).operator QString(),
              QString::fromUtf8(GetParam().description));
    EXPECT_EQ(record->Reserved(), 0);
    ASSERT_NE(record->icons, nullptr);
    EXPECT_EQ(record->icons->imageCount, 3);
    EXPECT_EQ(record->icons->imageWidth, 91);
    EXPECT_EQ(record->icons->imageHeight, 69);
    EXPECT_GE(record->icons->bytesPerLine, 3 * 91 * 4);
    EXPECT_NE(record->icons->bits, nullptr);

    QWidget* dialog = dialogOf(record->mainWindow);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->parentWidget(), &mainClient_);
    EXPECT_EQ(dialog->geometry(), geometryOf(rect));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(requestedPage(record->mainWindow), "http://127.0.0.1:9/a");
    QWebEngineView* browser = browserOf(record->mainWindow);
    EXPECT_EQ(browser->objectName(), QStringLiteral("browser%1").arg(GetParam().browserControl));
    EXPECT_EQ(browser->geometry(), QRect(1, 1, 398, 298));
}

TEST_P(ModuleLibrary, SecondInitModuleInterfaceMovesTheSameDialog) {
    tagModuleInterface* first = nullptr;
    ASSERT_EQ(initModule(module_, &first, mainClient_.handle(), {0, 0, 200, 100},
                         startRecord(kStartKeyPageAddress, "http://127.0.0.1:9/first")),
              kModuleOk);
    tagModuleInterface* second = nullptr;
    const ModuleRect moved{30, 40, 330, 240};
    ASSERT_EQ(initModule(module_, &second, mainClient_.handle(), moved,
                         startRecord(kStartKeyPageAddress, "http://127.0.0.1:9/second")),
              kModuleOk);

    EXPECT_EQ(second, first);
    EXPECT_EQ(dialogOf(second->mainWindow)->geometry(), geometryOf(moved));
    EXPECT_EQ(browserOf(second->mainWindow)->geometry(), QRect(1, 1, 298, 198));
    EXPECT_EQ(requestedPage(second->mainWindow), "http://127.0.0.1:9/first");
}

// A main client window that closes takes the dialog with it; the next call builds a new one for
// the same record instead of touching the dead window.
TEST_P(ModuleLibrary, DialogIsBuiltAgainAfterItsParentClosed) {
    tagModuleInterface* record = nullptr;
    const ModuleRect rect{0, 0, 200, 100};
    {
        MainClientWindow closing;
        ASSERT_EQ(initModule(module_, &record, closing.handle(), rect, {}), kModuleOk);
    }
    tagModuleInterface* again = nullptr;
    ASSERT_EQ(initModule(module_, &again, mainClient_.handle(), rect, {}), kModuleOk);
    EXPECT_EQ(again, record);
    QWidget* dialog = dialogOf(again->mainWindow);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->parentWidget(), &mainClient_);
}

TEST_P(ModuleLibrary, ParentThatNamesNoWindowIsRefused) {
    tagModuleInterface* record = nullptr;
    const ModuleRect rect{0, 0, 100, 100};
    for (const ModuleWindowHandle notAWindow :
         {ModuleWindowHandle{0}, ModuleWindowHandle{0x7ffffff0}}) {
        EXPECT_EQ(initModule(module_, &record, notAWindow, rect, {}), kModuleParentNotWindow);
        EXPECT_EQ(module_.show(notAWindow, &rect, 0, 0), ModuleWindowHandle{0});
    }
    EXPECT_EQ(record, nullptr);

    // The refused first call has read its (empty) start data; later start data is ignored.
    ASSERT_EQ(initModule(module_, &record, mainClient_.handle(), rect,
                         startRecord(kStartKeyPageAddress, "http://127.0.0.1:9/late")),
              kModuleOk);
    EXPECT_EQ(requestedPage(record->mainWindow), QString::fromUtf8(GetParam().builtInPage));
}

TEST_P(ModuleLibrary, ShowDlgShowsTheBuiltInPageInItsOwnDialog) {
    tagModuleInterface* record = nullptr;
    ASSERT_EQ(initModule(module_, &record, mainClient_.handle(), {0, 0, 200, 100},
                         startRecord(kStartKeyPageAddress, "http://127.0.0.1:9/start")),
              kModuleOk);

    const ModuleRect rect{5, 300, 505, 500};
    const ModuleWindowHandle created = module_.show(mainClient_.handle(), &rect, 7, 8);
    ASSERT_NE(created, ModuleWindowHandle{0});
    EXPECT_NE(created, record->mainWindow);
    EXPECT_EQ(requestedPage(created), QString::fromUtf8(GetParam().builtInPage));

    EXPECT_EQ(module_.show(mainClient_.handle(), &rect, 0, 0), created);
    EXPECT_EQ(dialogOf(created)->geometry(), geometryOf(rect));
    EXPECT_TRUE(dialogOf(created)->isVisible());
    // A parent that is no window leaves the dialog alone and still names it.
    EXPECT_EQ(module_.show(0, nullptr, 0, 0), created);
}

struct LinkCase {
    const char* address;
    bool handedOver;
};

// Navigates the module's dialog and reports whether the main client was handed the link.
bool handsOver(const ModuleCase& module, const char* address) {
    OpenedModule opened(module, startRecord(kStartKeyPageAddress, "about:blank"));
    QWebEngineView* browser = browserOf(opened.dialog());
    if (browser == nullptr) {
        ADD_FAILURE() << "no browser";
        return false;
    }
    QSignalSpy loads(browser->page(), &QWebEnginePage::loadFinished);
    EXPECT_TRUE(loads.wait(20000));  // about:blank

    browser->setUrl(QUrl(QString::fromLatin1(address)));
    const std::vector<ModuleWindowHandle>& received = opened.mainClient.specialLinkDialogs;
    const bool handedOver = QTest::qWaitFor([&] { return !received.empty(); }, 3000);
    if (handedOver) {
        EXPECT_EQ(received, std::vector<ModuleWindowHandle>{opened.dialog()});
    }
    return handedOver;
}

TEST_P(ModuleLibrary, OnlyPextraHandsTheSpecialLinkToTheMainClient) {
    const LinkCase cases[] = {{"MORVEX://360SAFE/", GetParam().handsOverSpecialLink},
                              {"Morvex://360safe/x", false}};
    for (const LinkCase& link : cases) {
        EXPECT_EQ(handsOver(GetParam(), link.address), link.handedOver) << link.address;
    }
}

INSTANTIATE_TEST_SUITE_P(Modules, ModuleLibrary, testing::Values(kInfo, kSoniro, kPextra),
                         [](const testing::TestParamInfo<ModuleCase>& param) {
                             return param.param.name;
                         });

struct StartPageCase {
    const char* name;
    std::vector<std::uint8_t> startData;
    const char* expected;  // null: the built-in page
};

void PrintTo(const StartPageCase& startPage, std::ostream* out) {
    *out << startPage.name;
}

class ModuleStartPage : public testing::TestWithParam<StartPageCase> {};

TEST_P(ModuleStartPage, ComesFromTheStartData) {
    const OpenedModule opened(kInfo, GetParam().startData);
    const char* expected = GetParam().expected ? GetParam().expected : kInfo.builtInPage;
    EXPECT_EQ(requestedPage(opened.dialog()), QString::fromUtf8(expected));
}

INSTANTIATE_TEST_SUITE_P(
    StartData, ModuleStartPage,
    testing::Values(
        StartPageCase{"FirstRecordOfLengthEight",
                      join({{20, 0, 0, 0, 8, 0, 0, 0}, startRecord(20, "http://127.0.0.1:9/x")}),
                      nullptr},
        StartPageCase{"TwoPageAddresses",
                      join({startRecord(20, "http://127.0.0.1:9/one"),
                            startRecord(20, "http://127.0.0.1:9/two")}),
                      "http://127.0.0.1:9/two"},
        StartPageCase{"LengthBeyondTheEnd",
                      join({startRecord(20, "http://127.0.0.1:9/one"),
                            {20, 0, 0, 0, 64, 0, 0, 0, 'h', 't', 't', 'p', ':', '/', '/'}}),
                      "http://127.0.0.1:9/one"}),
    [](const testing::TestParamInfo<StartPageCase>& param) { return param.param.name; });

// The dialog draws a one-pixel frame round the browser in the module's green.
TEST(ModuleDialog, DrawsItsFrame) {
    const OpenedModule opened(kInfo, {}, {0, 0, 120, 80});
    QWidget* dialog = dialogOf(opened.dialog());
    ASSERT_NE(dialog, nullptr);
    const QImage picture = dialog->grab().toImage();
    const QRgb green = qRgb(0, 141, 66);
    for (const QPoint corner : {QPoint(0, 0), QPoint(119, 0), QPoint(0, 79), QPoint(119, 79),
                                QPoint(60, 0), QPoint(0, 40)}) {
        EXPECT_EQ(picture.pixel(corner), green) << corner.x() << "," << corner.y();
    }
}

// After a load the page shows no scroll bars: the browser draws none and the body hides overflow.
TEST(ModuleDialog, HidesThePageScrollBarsAfterEachLoad) {
    const OpenedModule opened(kInfo,
                              startRecord(kStartKeyPageAddress, "data:text/html,<p>page</p>"));
    QWebEngineView* browser = browserOf(opened.dialog());
    ASSERT_NE(browser, nullptr);
    QWebEnginePage* page = browser->page();
    EXPECT_FALSE(page->settings()->testAttribute(QWebEngineSettings::ShowScrollBars));
    QSignalSpy loads(page, &QWebEnginePage::loadFinished);
    ASSERT_TRUE(loads.wait(20000));

    QString body;
    page->runJavaScript(
        QStringLiteral("document.body.style.overflow + '/' + document.body.getAttribute('scroll')"),
        [&](const QVariant& result) { body = result.toString(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !body.isEmpty(); }, 10000));
    EXPECT_EQ(body, "hidden/no");
}

}  // namespace
