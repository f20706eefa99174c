#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>
#include <stdexcept>

#include "content/chat_box_layout.h"
#include "content/widgets/emote_folder.h"
#include "content/widgets/emote_picker.h"
#include "picture_fixtures.h"

namespace chat {
namespace {

QString emoticonFile(int number) {
    return QString::fromStdString(emoticonFileName(number));
}

// A folder of emoticon files; file i (from 0) is a GIF of colourOf(i).
class EmoteFolder {
  public:
    QString path() const { return folder_.path(); }

    void add(const QString& name, const QByteArray& bytes) {
        QFile file(folder_.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void addNumbered(int count) {
        for (int i = 0; i < count; ++i) {
            add(emoticonFile(i + 1), test::stillGif(colourOf(i)));
        }
    }
    static QColor colourOf(int i) { return QColor(10 + 5 * i, 200 - 4 * i, 30 + 3 * i); }

  private:
    QTemporaryDir folder_;
};

QPoint cellTopLeft(int column, int row) {
    return QPoint(EmotePicker::kGridOrigin + EmotePicker::kCellSize * column,
                  EmotePicker::kGridOrigin + EmotePicker::kCellSize * row);
}

QPoint cellCentre(int column, int row) {
    return cellTopLeft(column, row) + QPoint(12, 12);
}

TEST(EmoteFolder, ListsGifFilesOfAnyCaseInUtf16OrderOnly) {
    EmoteFolder folder;
    for (const char* name : {"0002.gif", "0001.gif", "b.GIF", "a.Gif", "Z.gif", "x.gif.bak",
                             "y.png", "gif", "noextension", ".gif"}) {
        folder.add(name, "x");
    }
    QDir(folder.path()).mkdir("folder.gif");
    EXPECT_EQ(listEmoticonFiles(folder.path()),
              QStringList({".gif", "0001.gif", "0002.gif", "Z.gif", "a.Gif", "b.GIF"}));
}

TEST(EmoteFolder, AnEmptyOrMissingFolderIsADamagedInstallation) {
    EmoteFolder empty;
    empty.add("readme.txt", "x");
    for (const QString& folder : {empty.path(), empty.path() + "/missing"}) {
        try {
            listEmoticonFiles(folder);
            ADD_FAILURE() << "no emoticons in " << folder.toStdString();
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), "聊天系统文件已损坏，请重新下载安装");
        }
    }
}

TEST(EmotePicker, DrawsFrameGridAndTheFirst36EmoticonsInNameOrder) {
    EmoteFolder folder;
    folder.addNumbered(40);
    EmotePicker picker(folder.path());
    picker.prepare();
    ASSERT_EQ(picker.emoticonFiles().size(), 40);
    const QImage& image = picker.image();
    ASSERT_EQ(image.size(), QSize(296, 80));

    const QColor border(0, 0, 128), grid(225, 225, 225), white(Qt::white);
    const struct {
        QPoint pixel;
        QColor colour;
    } expected[] = {
        {{0, 0}, border},   {{295, 79}, border}, {{150, 0}, border}, {{0, 40}, border},
        {{4, 4}, grid},     {{4, 75}, grid},     {{292, 10}, grid},  {{100, 76}, grid},
        {{28, 30}, grid},   {{30, 52}, grid},    {{5, 5}, white},    {{27, 27}, white},
        {{293, 40}, white}, {{40, 77}, white},   {{1, 1}, white},    {{292, 76}, white},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(image.pixelColor(e.pixel), e.colour) << e.pixel.x() << "," << e.pixel.y();
    }
    for (int i = 0; i < EmotePicker::kMostEmoticons; ++i) {
        const QPoint centre = cellCentre(i % 12, i / 12);
        EXPECT_EQ(image.pixelColor(centre), EmoteFolder::colourOf(i)) << "emoticon " << i + 1;
        EXPECT_EQ(image.pixelColor(centre - QPoint(9, 9)), EmoteFolder::colourOf(i));
        EXPECT_EQ(image.pixelColor(centre - QPoint(11, 11)), white) << "outside the 20x20 square";
    }
}

TEST(EmotePicker, HotCellsLieInsideTheGridAndHoldAnEmoticon) {
    EmoteFolder folder;
    folder.addNumbered(40);
    EmotePicker picker(folder.path());
    picker.prepare();
    const struct {
        QPoint point;
        std::optional<QPoint> cell;
    } cases[] = {
        {{4, 10}, std::nullopt},  {{5, 10}, QPoint(0, 0)},    {{27, 10}, QPoint(0, 0)},
        {{28, 10}, QPoint(1, 0)}, {{291, 10}, QPoint(11, 0)}, {{292, 10}, std::nullopt},
        {{10, 4}, std::nullopt},  {{10, 5}, QPoint(0, 0)},    {{10, 75}, QPoint(0, 2)},
        {{10, 76}, std::nullopt}, {{291, 75}, QPoint(11, 2)}, {{0, 0}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(picker.cellAt(c.point), c.cell) << c.point.x() << "," << c.point.y();
    }
}

TEST(EmotePicker, CellsBeyondTheEmoticonCountAreNotHot) {
    EmoteFolder folder;
    folder.addNumbered(5);
    EmotePicker picker(folder.path());
    picker.prepare();
    EXPECT_EQ(picker.cellAt(cellCentre(4, 0)), QPoint(4, 0));
    EXPECT_EQ(picker.cellAt(cellCentre(5, 0)), std::nullopt);
    EXPECT_EQ(picker.cellAt(cellCentre(0, 1)), std::nullopt);
    EXPECT_EQ(picker.image().pixelColor(cellCentre(5, 0)), QColor(Qt::white));
}

// A room page stand-in: an input box and the emoticon button below it.
class PickerWindowTest : public testing::Test {
  protected:
    void SetUp() override {
        folder.addNumbered(40);
        auto* layout = new QVBoxLayout(&room);
        layout->addWidget(inputBox);
        layout->addWidget(button);
        room.setGeometry(200, 300, 400, 300);
        room.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&room));
        room.activateWindow();
    }

    void openPicker() {
        ASSERT_TRUE(picker.open(button, inputBox, kRoom));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&picker));
    }

    static constexpr int kRoom = 1234;
    EmoteFolder folder;
    QWidget room;
    QTextEdit* inputBox = new QTextEdit;
    QPushButton* button = new QPushButton("emote");
    EmotePicker picker{folder.path()};
    QSignalSpy picked{&picker, &EmotePicker::emotePicked};
};

TEST_F(PickerWindowTest, OpensAboveTheButtonAtItsLeftEdge) {
    openPicker();
    const QPoint buttonTopLeft = button->mapToGlobal(QPoint(0, 0));
    EXPECT_EQ(picker.frameGeometry(), QRect(buttonTopLeft - QPoint(0, 80), QSize(296, 80)));
    EXPECT_EQ(picker.roomId(), kRoom);
}

TEST_F(PickerWindowTest, MovingTheMouseFramesTheHotCell) {
    openPicker();
    QTest::mouseMove(picker.windowHandle(), cellCentre(3, 1));
    EXPECT_EQ(picker.hotCell(), QPoint(3, 1));
    const QImage shown = picker.grab().toImage();
    EXPECT_EQ(shown.pixelColor(cellTopLeft(3, 1)), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(cellTopLeft(3, 1) + QPoint(23, 23)), QColor(Qt::black));
    QTest::mouseMove(picker.windowHandle(), QPoint(2, 2));
    EXPECT_EQ(picker.hotCell(), std::nullopt);
}

TEST_F(PickerWindowTest, ClickPicksTheEmoticonForTheRoomAndCloses) {
    openPicker();
    QTest::mouseClick(&picker, Qt::LeftButton, Qt::NoModifier, cellCentre(2, 1));
    ASSERT_EQ(picked.count(), 1);
    EXPECT_EQ(picked[0][0].toInt(), 2 + 12 + 1);
    EXPECT_EQ(picked[0][1].toInt(), kRoom);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(room.focusWidget(), inputBox);
}

TEST_F(PickerWindowTest, CtrlClickPicksAndStaysOpenForTheNextOne) {
    openPicker();
    QTest::mouseClick(&picker, Qt::LeftButton, Qt::ControlModifier, cellCentre(0, 0));
    QTest::mouseClick(&picker, Qt::LeftButton, Qt::ControlModifier, cellCentre(11, 2));
    ASSERT_EQ(picked.count(), 2);
    EXPECT_EQ(picked[0][0].toInt(), 1);
    EXPECT_EQ(picked[1][0].toInt(), 36);
    EXPECT_TRUE(picker.isVisible());
}

TEST_F(PickerWindowTest, ClicksOffTheCellsPickNothing) {
    openPicker();
    for (const QPoint point : {QPoint(1, 1), QPoint(4, 40), QPoint(294, 40), QPoint(100, 78)}) {
        QTest::mouseClick(&picker, Qt::LeftButton, Qt::NoModifier, point);
        QTest::mouseClick(&picker, Qt::RightButton, Qt::NoModifier, cellCentre(1, 1));
    }
    EXPECT_EQ(picked.count(), 0);
    EXPECT_TRUE(picker.isVisible());
}

TEST_F(PickerWindowTest, EscapeOrAClickOutsideClosesWithoutPicking) {
    openPicker();
    QTest::keyClick(&picker, Qt::Key_Escape);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(room.focusWidget(), inputBox);

    openPicker();
    // On the room window, where the picker's first cell would be if it reached that far.
    const QPoint outside = room.mapFromGlobal(picker.mapToGlobal(cellCentre(0, 0))) + QPoint(0, 81);
    QTest::mouseClick(room.windowHandle(), Qt::LeftButton, Qt::NoModifier, outside);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(picked.count(), 0);
    EXPECT_EQ(room.focusWidget(), inputBox);
}

TEST_F(PickerWindowTest, ReadsTheFolderOnlyOnFirstOpening) {
    openPicker();
    picker.close();
    folder.add("0041.gif", test::stillGif(Qt::red));
    folder.add("0000.gif", test::stillGif(Qt::red));
    openPicker();
    EXPECT_EQ(picker.emoticonFiles().size(), 40);
    EXPECT_EQ(picker.emoticonFiles().front(), "0001.gif");
}

TEST(EmotePicker, OneSharedPickerServesTheProcessFromTheFolderBesideTheProgram) {
    EmotePicker& shared = EmotePicker::shared();
    EXPECT_EQ(&EmotePicker::shared(), &shared);
    EXPECT_EQ(defaultEmoteFolder(), QCoreApplication::applicationDirPath() + "/emote");
    EXPECT_FALSE(shared.isVisible());
}

TEST(EmoteSet, ShipsAtLeast36NumberedSmallGifsThatDecode) {
    const QStringList files = listEmoticonFiles(CHAT_EMOTE_SOURCE_FOLDER);
    ASSERT_GE(files.size(), EmotePicker::kMostEmoticons);
    const QDir folder(CHAT_EMOTE_SOURCE_FOLDER);
    for (int i = 0; i < files.size(); ++i) {
        EXPECT_EQ(files[i], emoticonFile(i + 1)) << "numbers without gaps";
        QImageReader reader(folder.filePath(files[i]));
        EXPECT_EQ(reader.format(), "gif") << files[i].toStdString();
        const QImage first = reader.read();
        ASSERT_FALSE(first.isNull()) << files[i].toStdString();
        EXPECT_TRUE(first.size() == QSize(20, 20) || first.size() == QSize(24, 24));
    }
}

}  // namespace
}  // namespace chat
