// A room's chat box with a few typical messages (styles, a link, an emoticon, a picture, a
// whisper, system lines), drawn offscreen and saved as a PNG picture.
#include <QApplication>
#include <QBuffer>
#include <QFrame>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

#include "admin/account_level.h"
#include "content/widgets/chat_box.h"

namespace {

std::vector<uint8_t> samplePicture() {
    QImage image(150, 90, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, 90);
    sky.setColorAt(0, QColor(120, 180, 240));
    sky.setColorAt(1, QColor(220, 240, 255));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(255, 210, 60));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(118, 24), 12, 12);
    painter.setBrush(QColor(70, 140, 70));
    painter.drawPolygon(QPolygonF({QPointF(0, 90), QPointF(45, 40), QPointF(90, 90)}));
    painter.setBrush(QColor(50, 115, 60));
    painter.drawPolygon(QPolygonF({QPointF(55, 90), QPointF(105, 50), QPointF(150, 90)}));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

chat::ChatMessageLayout message(uint32_t roles, std::u16string nickname, uint16_t minute,
                                std::vector<chat::DrawableSection> sections,
                                chat::TextStyle style = {}, int32_t target = 0,
                                std::u16string targetNickname = {}) {
    chat::ChatMessageLayoutInput input;
    input.speakerRoles = roles;
    input.speakerNickname = std::move(nickname);
    input.sendTime = chat::SystemTime{2026, 12, 5, 11, 14, minute, 26, 0};
    input.localChatterId = 7;
    input.targetId = target;
    input.targetNickname = std::move(targetNickname);
    input.useOwnStyle = true;
    input.style = std::move(style);
    input.sections = std::move(sections);
    return chat::layoutChatMessage(std::move(input));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const QString output =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("chat-box.png");

    // The chat dialog's frame: a 1-pixel frame in RGB(133, 166, 221) around the box.
    QFrame frame;
    frame.setStyleSheet(QStringLiteral("QFrame#frame { border: 1px solid rgb(133, 166, 221); }"));
    frame.setObjectName(QStringLiteral("frame"));
    auto* layout = new QVBoxLayout(&frame);
    layout->setContentsMargins(1, 1, 1, 1);
    auto* box = new chat::ChatBox(&frame, QStringLiteral(CHAT_EMOTE_SOURCE_FOLDER));
    box->setFrameShape(QFrame::NoFrame);
    layout->addWidget(box);
    frame.resize(560, 520);
    frame.show();

    box->showSystemLine(u"欢迎进入“新手村”聊天室，请文明发言。");
    chat::TextStyle orange;
    orange.colour = chat::rgb(200, 80, 0);
    box->showChatMessage(
        1, message(chat::AccountLevel::kCustomerService, u"客服小美", 2,
                   {chat::DrawTextSection{
                        u"您好！本周活动说明请看 http://www.morvex.example/event 有问题随时问我"},
                    chat::DrawEmoteSection{1}},
                   orange));
    chat::TextStyle bold;
    bold.bold = 1;
    bold.colour = chat::rgb(0, 0, 160);
    bold.size = 10;
    box->showChatMessage(2, message(0, u"风之旅人", 3,
                                    {chat::DrawTextSection{u"谢谢！这是我昨天截的图："},
                                     chat::DrawPictureSection{samplePicture()}},
                                    bold));
    chat::TextStyle italic;
    italic.italic = 1;
    italic.colour = chat::rgb(0, 128, 64);
    box->showChatMessage(
        3, message(chat::AccountLevel::kVip, u"星辰", 4,
                   {chat::DrawTextSection{u"晚上一起下副本吗？"}, chat::DrawEmoteSection{3}},
                   italic, 7));
    box->showChatMessage(
        4, message(chat::AccountLevel::kRoomOwner, u"村长", 5,
                   {chat::DrawTextSection{u"今晚八点准时开团，别迟到。"}}, {}, 2, u"风之旅人"));
    box->showSystemLine(u"“星辰”离开了房间。");
    QCoreApplication::processEvents();
    box->scrollToBottom();
    return frame.grab().save(output) ? 0 : 1;
}
