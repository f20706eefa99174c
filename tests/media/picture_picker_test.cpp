#include "media/widgets/picture_picker.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QImageReader>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextEdit>
#include <string>
#include <vector>

#include "content/widgets/document_pictures.h"
#include "content/widgets/picture_embedding.h"
#include "content/widgets/picture_object.h"

namespace chat {
namespace {

struct Question {
    std::string text;
    std::string caption;
    bool operator==(const Question&) const = default;
};

class FakePrompts final : public PicturePickPrompts {
  public:
    explicit FakePrompts(bool answer) : answer_(answer) {}
    void showError(std::string_view text) override { errors.emplace_back(text); }
    bool askYesNo(std::string_view text, std::string_view caption) override {
        questions.push_back({std::string(text), std::string(caption)});
        return answer_;
    }
    std::vector<std::string> errors;
    std::vector<Question> questions;

  private:
    bool answer_;
};

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixelColor(x, y, QColor(x * 255 / width, y * 255 / height, 128));
        }
    }
    return image;
}

QImage noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, random.generate() | 0xFF000000u);
        }
    }
    return image;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PicturePickerTest : public ::testing::Test {
  protected:
    QString save(const QImage& image, const QString& name, const char* format) {
        const QString path = dir_.filePath(name);
        EXPECT_TRUE(image.save(path, format));
        return path;
    }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    bool pick(const QString& path, FakePrompts& prompts) {
        return pickPicture(nullptr, edit_, prompts, [&](QWidget*) { return path; });
    }
    size_t pictureCount() const {
        const DocumentPictures* pictures = DocumentPictures::find(*edit_.document());
        return pictures == nullptr ? 0 : pictures->pictureCount();
    }
    QByteArray firstPictureBytes() const {
        const DocumentPictures* pictures = DocumentPictures::find(*edit_.document());
        const PictureObject* picture = pictures == nullptr ? nullptr : pictures->pictureAt(0);
        return picture == nullptr ? QByteArray() : picture->pictureBytes();
    }

    QTemporaryDir dir_;
    QTextEdit edit_;
};

TEST_F(PicturePickerTest, SmallFileIsEmbeddedAsItIs) {
    const QString path = save(gradient(40, 30), QStringLiteral("small.bmp"), "BMP");
    FakePrompts prompts(true);
    EXPECT_TRUE(pick(path, prompts));
    EXPECT_EQ(pictureCount(), 1u);
    EXPECT_EQ(firstPictureBytes(), fileBytes(path));
    EXPECT_TRUE(prompts.questions.empty());
    EXPECT_TRUE(prompts.errors.empty());
}

TEST_F(PicturePickerTest, LargeBitmapIsReencodedAsJpegWhenTheUserAgrees) {
    const QString path = save(gradient(400, 400), QStringLiteral("large.bmp"), "BMP");
    const QByteArray before = fileBytes(path);
    ASSERT_GE(before.size(), 153600);

    FakePrompts prompts(true);
    EXPECT_TRUE(pick(path, prompts));

    EXPECT_EQ(prompts.questions,
              (std::vector<Question>{{"您所选定的图片太大，是否进行JPEG压缩？", "警告"}}));
    EXPECT_TRUE(prompts.errors.empty());
    ASSERT_EQ(pictureCount(), 1u);
    const QByteArray embedded = firstPictureBytes();
    ASSERT_GE(embedded.size(), 2);
    EXPECT_LT(embedded.size(), 153600);
    EXPECT_EQ(static_cast<unsigned char>(embedded[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(embedded[1]), 0xD8);
    EXPECT_EQ(fileBytes(path), before);
}

struct RefusedCase {
    const char* name;
    bool answer;
    std::vector<std::string> errors;
    size_t questions;
};

TEST_F(PicturePickerTest, RefusalsLeaveTheBoxUnchanged) {
    // Random noise stays large in JPEG; a large ".JPG" is refused before any question; bytes that
    // are no picture cannot be encoded.
    const QByteArray filler(200000, 'x');
    const std::vector<std::pair<QString, RefusedCase>> cases = {
        {save(gradient(400, 400), QStringLiteral("no.bmp"), "BMP"), {"answered no", false, {}, 1}},
        {write(QStringLiteral("LARGE.JPG"), filler),
         {"large JPG", true, {"您指定的图片文件过大，请裁剪后再试"}, 0}},
        {dir_.filePath(QStringLiteral("missing.bmp")),
         {"missing file", true, {"指定的图片文件不存在"}, 0}},
        {dir_.path(), {"a folder", true, {"指定的图片文件不存在"}, 0}},
        {write(QStringLiteral("garbage.bmp"), filler), {"not a picture", true, {"压缩失败"}, 1}},
        {save(noise(700, 700), QStringLiteral("noise.bmp"), "BMP"),
         {"still too large", true, {"进行JPEG压缩后仍然过大，请裁剪后再试"}, 1}},
        {QString(), {"dialog cancelled", true, {}, 0}},
    };
    for (const auto& [path, c] : cases) {
        edit_.setPlainText(QStringLiteral("typed"));
        const QByteArray before = QFileInfo(path).isFile() ? fileBytes(path) : QByteArray();
        FakePrompts prompts(c.answer);
        EXPECT_FALSE(pick(path, prompts)) << c.name;
        EXPECT_EQ(prompts.errors, c.errors) << c.name;
        EXPECT_EQ(prompts.questions.size(), c.questions) << c.name;
        EXPECT_EQ(pictureCount(), 0u) << c.name;
        EXPECT_EQ(edit_.toPlainText(), QStringLiteral("typed")) << c.name;
        if (!before.isEmpty()) {
            EXPECT_EQ(fileBytes(path), before) << c.name;
        }
    }
}

TEST_F(PicturePickerTest, JpegEncodingFlattensAnimationsAndTransparency) {
    QImage translucent(8, 8, QImage::Format_ARGB32);
    translucent.fill(Qt::transparent);
    const std::optional<QByteArray> encoded = encodeImageAsJpeg(translucent);
    ASSERT_TRUE(encoded.has_value());
    const QImage decoded = QImage::fromData(*encoded, "JPEG");
    ASSERT_FALSE(decoded.isNull());
    EXPECT_GE(qGray(decoded.pixel(4, 4)), 250);  // white, not black

    // A 1x1 animation of two frames, red then blue.
    const QByteArray twoFrames = QByteArray::fromHex(
        "47494638396101000100800000"
        "ff00000000ff"
        "21ff0b4e45545343415045322e300301000000"
        "21f904000a0000002c000000000100010000"
        "0202440100"
        "21f904000a0000002c000000000100010000"
        "02024c0100"
        "3b");
    const QString gif = write(QStringLiteral("anim.gif"), twoFrames);
    ASSERT_EQ(QImageReader(gif).imageCount(), 2);
    const QByteArray before = fileBytes(gif);
    const std::optional<QByteArray> still = encodeFileAsJpeg(gif);
    ASSERT_TRUE(still.has_value());
    EXPECT_TRUE(still->startsWith("\xFF\xD8"));
    EXPECT_EQ(fileBytes(gif), before);

    EXPECT_FALSE(encodeImageAsJpeg(QImage()).has_value());
}

TEST_F(PicturePickerTest, DialogOffersTheFourFiltersAndPreviewsPictures) {
    const std::unique_ptr<QFileDialog> dialog = makePicturePickDialog(nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("选择图像文件..."));
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
    const auto* filters = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_NE(filters, nullptr);
    QStringList shown;
    for (int i = 0; i < filters->count(); ++i) {
        shown << filters->itemText(i);
    }
    EXPECT_EQ(shown,
              (QStringList{QStringLiteral("图像文件(*.jpg,*.bmp,*.gif)"),
                           QStringLiteral("jpg files (.jpg)"), QStringLiteral("bmp files (.bmp)"),
                           QStringLiteral("gif files (.gif)")}));
    EXPECT_EQ(filters->currentIndex(), 0);

    // The dialog lists the names its filter's patterns match, case-sensitively here.
    const auto matches = [](const QString& nameFilter, const QString& fileName) {
        const QString patterns = nameFilter.section(QLatin1Char('('), -1).chopped(1);
        for (const QString& pattern : patterns.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QRegularExpression wildcard(QRegularExpression::wildcardToRegularExpression(
                pattern, QRegularExpression::UnanchoredWildcardConversion));
            if (QRegularExpression(QRegularExpression::anchoredPattern(wildcard.pattern()))
                    .match(fileName)
                    .hasMatch()) {
                return true;
            }
        }
        return false;
    };
    const QStringList nameFilters = dialog->nameFilters();
    ASSERT_EQ(nameFilters.size(), 4);
    for (const QString& name : {QStringLiteral("a.jpg"), QStringLiteral("B.JPG"),
                                QStringLiteral("c.bmp"), QStringLiteral("D.GIF")}) {
        EXPECT_TRUE(matches(nameFilters[0], name)) << name.toStdString();
    }
    EXPECT_FALSE(matches(nameFilters[0], QStringLiteral("e.png")));
    EXPECT_TRUE(matches(nameFilters[1], QStringLiteral("IMG_0001.JPG")));
    EXPECT_FALSE(matches(nameFilters[1], QStringLiteral("a.bmp")));
    EXPECT_TRUE(matches(nameFilters[2], QStringLiteral("A.BMP")));
    EXPECT_TRUE(matches(nameFilters[3], QStringLiteral("a.gif")));

    auto* preview = dialog->findChild<PicturePreview*>();
    ASSERT_NE(preview, nullptr);
    const QString wide = save(gradient(200, 50), QStringLiteral("wide.bmp"), "BMP");
    emit dialog->currentChanged(wide);
    EXPECT_EQ(preview->pixmap().size(),
              QSize(4 * PicturePreview::kPreviewHeight, PicturePreview::kPreviewHeight));
    for (const QString& nothing : {dir_.path(), write(QStringLiteral("text.bmp"), "hello"),
                                   dir_.filePath(QStringLiteral("gone.bmp"))}) {
        emit dialog->currentChanged(wide);
        emit dialog->currentChanged(nothing);
        EXPECT_TRUE(preview->pixmap().isNull()) << nothing.toStdString();
    }
}

}  // namespace
}  // namespace chat
