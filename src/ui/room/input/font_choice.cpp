#include "ui/room/input/font_choice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "content/widgets/chat_box_renderer.h"

namespace chat {

namespace {

struct NamedColour {
    const char* name;
    uint32_t colour;
};

// The colours the system's font dialog offers.
constexpr NamedColour kColours[] = {
    {"黑色", rgb(0, 0, 0)},       {"褐红色", rgb(128, 0, 0)},   {"绿色", rgb(0, 128, 0)},
    {"橄榄色", rgb(128, 128, 0)}, {"深蓝色", rgb(0, 0, 128)},   {"紫色", rgb(128, 0, 128)},
    {"水鸭色", rgb(0, 128, 128)}, {"灰色", rgb(128, 128, 128)}, {"银色", rgb(192, 192, 192)},
    {"红色", rgb(255, 0, 0)},     {"酸橙色", rgb(0, 255, 0)},   {"黄色", rgb(255, 255, 0)},
    {"蓝色", rgb(0, 0, 255)},     {"紫红色", rgb(255, 0, 255)}, {"浅绿色", rgb(0, 255, 255)},
    {"白色", rgb(255, 255, 255)},
};

QCheckBox* effectBox(const char* text, QWidget* parent) {
    return new QCheckBox(QString::fromUtf8(text), parent);
}

}  // namespace

std::optional<std::string_view> fontChoiceRefusal(const TextStyle& chosen, uint32_t accountLevel) {
    if (isReservedStyle(chosen) && !mayUseReservedStyle(accountLevel)) {
        return kReservedStyleText;
    }
    return std::nullopt;
}

FontChoiceDialog::FontChoiceDialog(const TextStyle& start, uint32_t accountLevel,
                                   tekna::MessageBoxPort& messages, QWidget* parent)
    : QDialog(parent),
      start_(start),
      accountLevel_(accountLevel),
      messages_(messages),
      face_(new QFontComboBox(this)),
      size_(new QComboBox(this)),
      bold_(effectBox("粗体(&B)", this)),
      italic_(effectBox("斜体(&I)", this)),
      underline_(effectBox("下划线(&U)", this)),
      strikeout_(effectBox("删除线(&K)", this)),
      colour_(new QComboBox(this)),
      sample_(new QLabel(QStringLiteral("微软中文软件 AaBbYyZz"), this)) {
    setWindowTitle(QStringLiteral("字体"));
    face_->setFontFilters(QFontComboBox::ScalableFonts | QFontComboBox::NonScalableFonts);
    for (int points = kSmallestPoints; points <= kLargestPoints; ++points) {
        size_->addItem(QString::number(points), points);
    }
    for (const NamedColour& named : kColours) {
        colour_->addItem(QString::fromUtf8(named.name), named.colour);
    }
    sample_->setMinimumSize(220, 48);
    sample_->setAlignment(Qt::AlignCenter);
    sample_->setFrameShape(QFrame::StyledPanel);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("字体(&F):"), face_);
    form->addRow(QStringLiteral("大小(&S):"), size_);
    form->addRow(QStringLiteral("颜色(&C):"), colour_);
    auto* effects = new QHBoxLayout;
    for (QCheckBox* box : {bold_, italic_, underline_, strikeout_}) {
        effects->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &FontChoiceDialog::showSample);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确定"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(effects);
    layout->addWidget(sample_);
    layout->addWidget(buttons);

    connect(face_, &QFontComboBox::currentFontChanged, this, &FontChoiceDialog::showSample);
    connect(size_, &QComboBox::currentIndexChanged, this, &FontChoiceDialog::showSample);
    connect(colour_, &QComboBox::currentIndexChanged, this, &FontChoiceDialog::showSample);
    setStyle(start);
}

void FontChoiceDialog::setStyle(const TextStyle& style) {
    start_ = style;
    face_->setCurrentFont(QFont(QString::fromStdU16String(style.face)));
    const int points = std::clamp(style.size, kSmallestPoints, kLargestPoints);
    size_->setCurrentIndex(size_->findData(points));
    bold_->setChecked(style.bold != 0);
    italic_->setChecked(style.italic != 0);
    underline_->setChecked(style.underline != 0);
    strikeout_->setChecked(style.strikeout != 0);
    int colourIndex = colour_->findData(style.colour);
    if (colourIndex < 0) {
        colour_->addItem(QStringLiteral("自定义"), style.colour);
        colourIndex = colour_->count() - 1;
    }
    colour_->setCurrentIndex(colourIndex);
    showSample();
}

TextStyle FontChoiceDialog::style() const {
    TextStyle chosen = start_;
    const QString face = face_->currentFont().family();
    if (!face.isEmpty()) {
        chosen.face = face.left(TextStyle::kFaceUnits - 1).toStdU16String();
    }
    chosen.size = size_->currentData().toInt();
    chosen.bold = bold_->isChecked() ? 1 : 0;
    chosen.italic = italic_->isChecked() ? 1 : 0;
    chosen.underline = underline_->isChecked() ? 1 : 0;
    chosen.strikeout = strikeout_->isChecked() ? 1 : 0;
    chosen.colour = colour_->currentData().toUInt();
    return chosen;
}

void FontChoiceDialog::showSample() {
    const QTextCharFormat format = charFormatOf(style());
    sample_->setFont(format.font());
    QPalette palette = sample_->palette();
    palette.setColor(QPalette::WindowText, format.foreground().color());
    sample_->setPalette(palette);
}

void FontChoiceDialog::done(int result) {
    if (result == Accepted) {
        if (const auto refusal = fontChoiceRefusal(style(), accountLevel_)) {
            messages_.showMessage(*refusal, tekna::MessageCaption::None, tekna::MessageIcon::Error);
            return;
        }
    }
    QDialog::done(result);
}

}  // namespace chat
