#include "ui/room/affiche_dlg.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>

#include "content/link_detection.h"
#include "ui/ui_look.h"

namespace chat {
namespace {

constexpr int kFontPixels = 12;
constexpr int kIconLeft = 2;
constexpr int kTitleLeft = 20;
constexpr int kPeopleRightMargin = 3;
// Line spacing of exactly 240 twips: 16 pixels at 96 dots per inch.
constexpr qreal kLineHeightPixels = 16;

QTextCharFormat linkFormat(const QString& target) {
    QTextCharFormat format;
    format.setAnchor(true);
    format.setAnchorHref(target);
    format.setForeground(QColor(0, 0, 255));
    format.setFontUnderline(true);
    return format;
}

}  // namespace

CAfficheDlg::CAfficheDlg(QWidget* parent) : QWidget(parent), control_(new QTextBrowser(this)) {
    control_->setOpenLinks(false);
    control_->setOpenExternalLinks(false);
    control_->setFrameShape(QFrame::NoFrame);
    control_->setFont(ui::songPixelFont(kFontPixels));
    control_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    QPalette palette = control_->palette();
    palette.setColor(QPalette::Base, QColor(ui::kPageBackground));
    control_->setPalette(palette);
    control_->viewport()->installEventFilter(this);
    ui::fillBackground(*this, ui::kPageBackground);
}

void CAfficheDlg::setAnnouncement(std::u16string_view announcement) {
    content_ = parseAnnouncement(announcement);
    writtenAddresses_.clear();
    size_t plainStart = 0;
    auto detectIn = [this](size_t from, size_t to) {
        size_t at = from;
        for (const LinkedText& piece :
             splitLinks(std::u16string_view(content_.text).substr(from, to - from))) {
            if (piece.link) {
                writtenAddresses_.push_back({at, at + piece.text.size(), piece.text});
            }
            at += piece.text.size();
        }
    };
    for (const AnnouncementLink& link : content_.links) {
        detectIn(plainStart, link.begin);
        plainStart = link.end;
    }
    detectIn(plainStart, content_.text.size());
    showContent();
}

void CAfficheDlg::showContent() {
    control_->clear();
    QTextCursor cursor(control_->document());
    QTextBlockFormat block;
    block.setLineHeight(kLineHeightPixels, QTextBlockFormat::FixedHeight);
    cursor.setBlockFormat(block);
    // Rich edit controls break lines at "\r", "\n" and "\r\n" alike.
    QString text = QString::fromStdU16String(content_.text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" \n"));
    text.replace(QChar(u'\r'), QChar(u'\n'));
    cursor.insertText(text);
    std::vector<AnnouncementLink> all = content_.links;
    all.insert(all.end(), writtenAddresses_.begin(), writtenAddresses_.end());
    for (const AnnouncementLink& link : all) {
        QTextCursor range(control_->document());
        range.setPosition(static_cast<int>(link.begin));
        range.setPosition(static_cast<int>(link.end), QTextCursor::KeepAnchor);
        range.mergeCharFormat(linkFormat(QString::fromStdU16String(link.target)));
    }
    control_->moveCursor(QTextCursor::Start);
}

std::u16string CAfficheDlg::linkTargetAt(int position) const {
    if (position < 0) {
        return {};
    }
    const auto at = static_cast<size_t>(position);
    if (const AnnouncementLink* link = linkAt(content_, at)) {
        return link->target;
    }
    for (const AnnouncementLink& written : writtenAddresses_) {
        if (at >= written.begin && at < written.end) {
            return written.target;
        }
    }
    return {};
}

void CAfficheDlg::setPeople(int count, uint32_t maximum) {
    if (count == people_ && maximum == maximum_) {
        return;
    }
    people_ = count;
    maximum_ = maximum;
    update(0, 0, width(), kTitleBandHeight);
}

QString CAfficheDlg::peopleText() const {
    return QStringLiteral("(%1/%2)").arg(people_).arg(maximum_);
}

void CAfficheDlg::resizeEvent(QResizeEvent* /*event*/) {
    control_->setGeometry(5, 25, width() - 10, height() - 30);
}

void CAfficheDlg::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(QColor(ui::kFrameColour));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawLine(1, kTitleBandHeight, width() - 1, kTitleBandHeight);
    painter.drawPixmap(kIconLeft, kIconLeft, QPixmap(QStringLiteral(":/ui/room/announcement.png")));
    painter.setPen(Qt::black);
    painter.setFont(ui::songPixelFont(kFontPixels, true));
    const QRect band(0, 0, width(), kTitleBandHeight);
    painter.drawText(band.adjusted(kTitleLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("公告栏"));
    painter.setFont(ui::songPixelFont(kFontPixels));
    painter.drawText(band.adjusted(0, 0, -kPeopleRightMargin, 0), Qt::AlignRight | Qt::AlignVCenter,
                     peopleText());
}

bool CAfficheDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == control_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && !control_->textCursor().hasSelection()) {
            const QPoint inDocument =
                mouse->position().toPoint() + QPoint(control_->horizontalScrollBar()->value(),
                                                     control_->verticalScrollBar()->value());
            const std::u16string target = linkTargetAt(
                control_->document()->documentLayout()->hitTest(inDocument, Qt::ExactHit));
            if (!target.empty()) {
                emit linkClicked(target);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace chat
