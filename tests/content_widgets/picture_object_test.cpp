#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "content/widgets/picture_object.h"
#include "picture_fixtures.h"

namespace chat {
namespace {

struct DecodeCase {
    const char* name;
    QByteArray bytes;
    bool decodes;
    QSize size;
    bool animated;
};

TEST(PictureObject, DecodesTheFormatsOfChatPicturesAndRefusesOtherBytes) {
    const QImage photo = test::filled(30, 20, Qt::green);
    const QByteArray gif = test::stillGif(Qt::yellow);
    const std::vector<DecodeCase> cases = {
        {"jpeg", test::encoded(photo, "jpeg"), true, {30, 20}, false},
        {"png", test::encoded(photo, "png"), true, {30, 20}, false},
        {"bmp", test::encoded(photo, "bmp"), true, {30, 20}, false},
        {"still gif", gif, true, {1, 1}, false},
        {"animated gif", test::animatedGif(), true, {1, 1}, true},
        {"empty", QByteArray(), false, {}, false},
        {"text", QByteArray("not a picture at all"), false, {}, false},
        {"cut gif", gif.left(gif.size() / 2), false, {}, false},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto picture = PictureObject::load(c.bytes, kPictureModeReceived);
        ASSERT_EQ(picture != nullptr, c.decodes);
        if (picture == nullptr) {
            continue;
        }
        EXPECT_EQ(picture->size(), c.size);
        EXPECT_EQ(picture->isAnimated(), c.animated);
        EXPECT_EQ(picture->pictureBytes(), c.bytes);
        EXPECT_EQ(picture->mode(), kPictureModeReceived);
        EXPECT_TRUE(picture->sourceFileName().isEmpty());
    }
}

TEST(PictureObject, DrawsLargePicturesScaledDownToFitTheLargestDrawnSize) {
    const struct {
        QSize own;
        QSize drawn;
    } cases[] = {
        {{20, 20}, {20, 20}},
        {{480, 360}, {480, 360}},
        {{960, 360}, {480, 180}},
        {{400, 720}, {200, 360}},
    };
    for (const auto& c : cases) {
        const auto picture = PictureObject::load(
            test::encoded(test::filled(c.own.width(), c.own.height(), Qt::red), "bmp"), 0);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->drawnSize(), c.drawn) << c.own.width() << "x" << c.own.height();
    }
}

TEST(PictureObject, SavesItsOriginalBytesWhateverTheFileExtension) {
    QTemporaryDir folder;
    const QByteArray gif = test::animatedGif();
    const auto picture = PictureObject::load(gif, 0);
    ASSERT_NE(picture, nullptr);
    const QString path = folder.filePath("saved.jpg");
    ASSERT_TRUE(picture->saveToFile(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), gif);

    EXPECT_FALSE(picture->saveToFile(folder.filePath("missing-folder/saved.jpg")));
}

TEST(PictureObject, AnimationPlaysFramesAndStopsFreeingItsDecoder) {
    auto picture = PictureObject::load(test::animatedGif(), 0);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->currentFrame().pixelColor(0, 0), QColor(Qt::red));
    QSignalSpy frames(picture.get(), &PictureObject::frameChanged);
    picture->startAnimation();
    EXPECT_TRUE(picture->isAnimationRunning());
    EXPECT_TRUE(QTest::qWaitFor([&] { return frames.count() >= 2; }, 2000));
    picture->stopAnimation();
    EXPECT_FALSE(picture->isAnimationRunning());
    EXPECT_EQ(picture->currentFrame().pixelColor(0, 0), QColor(Qt::red));

    const auto still = PictureObject::load(test::stillGif(Qt::blue), 0);
    still->startAnimation();
    EXPECT_FALSE(still->isAnimationRunning());
}

}  // namespace
}  // namespace chat
