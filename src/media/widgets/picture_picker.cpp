#include "media/widgets/picture_picker.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMessageBox>
#include <QPixmap>
#include <QTextEdit>

#include "content/widgets/dialog_name_filters.h"
#include "content/widgets/picture_embedding.h"
#include "content/widgets/picture_object.h"

namespace chat {
namespace {

constexpr DialogFilter kPickFilters[] = {
    {"图像文件(*.jpg,*.bmp,*.gif)", "*.jpg;*.bmp;*.gif;"},
    {"jpg files (.jpg)", "*.jpg;"},
    {"bmp files (.bmp)", "*.bmp;"},
    {"gif files (.gif)", "*.gif;"},
};

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The size of the file, or nullopt when it cannot be opened for reading.
std::optional<std::uint64_t> readableFileSize(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(file.size());
}

}  // namespace

PicturePreview::PicturePreview(QWidget* parent) : QLabel(parent) {
    setFixedHeight(kPreviewHeight);
    setAlignment(Qt::AlignCenter);
}

void PicturePreview::showFile(const QString& path) {
    clear();
    if (!QFileInfo(path).isFile()) {
        return;
    }
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull() || image.height() <= 0) {
        return;
    }
    setPixmap(QPixmap::fromImage(image.scaledToHeight(kPreviewHeight, Qt::SmoothTransformation)));
}

std::unique_ptr<QFileDialog> makePicturePickDialog(QWidget* owner) {
    auto dialog = std::make_unique<QFileDialog>(owner, QStringLiteral("选择图像文件..."));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(QFileDialog::ExistingFile);
    const QStringList filters = setDialogNameFilters(*dialog, kPickFilters, PatternCase::AlsoUpper);
    dialog->selectNameFilter(filters.constFirst());

    auto* preview = new PicturePreview(dialog.get());
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout())) {
        grid->addWidget(preview, grid->rowCount(), 0, 1, grid->columnCount());
    }
    QObject::connect(dialog.get(), &QFileDialog::currentChanged, preview,
                     &PicturePreview::showFile);
    return dialog;
}

QString choosePictureFile(QWidget* owner) {
    const std::unique_ptr<QFileDialog> dialog = makePicturePickDialog(owner);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return {};
    }
    return dialog->selectedFiles().constFirst();
}

std::optional<QByteArray> encodeFileAsJpeg(const QString& path) {
    QImageReader reader(path);
    return encodeImageAsJpeg(reader.read());
}

void QtPicturePickPrompts::showError(std::string_view text) {
    QMessageBox::critical(owner_, QGuiApplication::applicationDisplayName(), fromUtf8(text));
}

bool QtPicturePickPrompts::askYesNo(std::string_view text, std::string_view caption) {
    QMessageBox box(QMessageBox::Warning, fromUtf8(caption), fromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    return box.exec() == QMessageBox::Yes;
}

bool pickPicture(QWidget* owner, QTextEdit& target, PicturePickPrompts& prompts,
                 const PictureFileChooser& choose) {
    const QString path = choose(owner);
    if (path.isEmpty()) {
        return false;
    }
    const QByteArray utf8Path = path.toUtf8();
    PickDecision decision = decideOnPickedFile(
        readableFileSize(path), std::string_view(utf8Path.constData(), utf8Path.size()));
    bool embedded = false;
    if (decision.step == PickStep::EmbedFile) {
        embedded = embedPictureFile(target, path);
    } else if (decision.step == PickStep::AskCompression) {
        decision =
            decideOnCompressionAnswer(prompts.askYesNo(decision.text, kCompressQuestionCaption));
        if (decision.step == PickStep::EmbedEncoded) {
            const std::optional<QByteArray> encoded = encodeFileAsJpeg(path);
            decision = decideOnEncoded(
                encoded.has_value() ? std::optional<std::uint64_t>(encoded->size()) : std::nullopt);
            if (decision.step == PickStep::EmbedEncoded) {
                embedded = embedPictureBytes(target, *encoded, kPictureModeLocal);
            }
        }
    }
    if (decision.step == PickStep::Refuse) {
        prompts.showError(decision.text);
    }
    target.viewport()->update();
    return embedded;
}

}  // namespace chat
