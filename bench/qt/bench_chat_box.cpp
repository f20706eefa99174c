// Drawing 10,000 received messages into a live chat box with the default size limit (131072
// characters), so the last messages each push the oldest ones out. Reports messages per second
// and the cost per message (CPU time of the window thread) of the first and the last 1,000.
// `per_turn` is how many messages arrive in one turn of the event loop: 1 for a room where
// messages come one by one, 100 for a burst (a paused room resuming, a busy server read).
// `shown` 0 keeps the box hidden, which leaves out painting and scrolling, so drawing and trimming
// show alone. Each message carries the role icon of its speaker (every fifth is customer service),
// so the box's picture registry is at work as in a live room.
// The "naive" box deletes the oldest message's range from the document at every append.
#include <benchmark/benchmark.h>

#include <time.h>
#include <QApplication>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

#include <vector>

#include "admin/account_level.h"
#include "content/chat_box_ledger.h"
#include "content/widgets/chat_box.h"
#include "content/widgets/chat_box_renderer.h"

namespace {

// CPU time of the window thread: other programs on the machine do not count.
double threadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

constexpr int kMessages = 10000;
constexpr int kChunk = 1000;

std::vector<chat::ChatMessageLayout> receivedMessages() {
    std::vector<chat::ChatMessageLayout> layouts;
    layouts.reserve(kMessages);
    for (int i = 0; i < kMessages; ++i) {
        chat::ChatMessageLayoutInput input;
        input.speakerRoles = i % 5 == 0 ? chat::AccountLevel::kCustomerService : 0;
        input.speakerNickname = u"玩家" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26));
        input.sendTime = chat::SystemTime{2026, 12, 5, 11, 9, static_cast<uint16_t>(i % 60), 7, 0};
        std::u16string text = u"请问今天的活动什么时候开始？我在等队友一起参加副本";
        if (i % 10 == 0) {
            text += u" 详见 http://www.morvex.example/event?id=" +
                    std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
        }
        input.sections.push_back(chat::DrawTextSection{std::move(text)});
        layouts.push_back(chat::layoutChatMessage(std::move(input)));
    }
    return layouts;
}

// What the chat box would be without its end-of-turn trimming: every recorded message deletes
// the ranges the ledger drops at once, then scrolls to the bottom.
class NaiveChatBox : public QTextEdit {
  public:
    NaiveChatBox() : renderer_({}) { setReadOnly(true); }

    void showChatMessage(int32_t speakerId, const chat::ChatMessageLayout& layout) {
        QTextCursor cursor(document());
        const int start = document()->characterCount() - 1;
        cursor.beginEditBlock();
        renderer_.render(cursor, layout.runs);
        cursor.endEditBlock();
        const chat::TrimResult trim =
            ledger_.record({speakerId, start, document()->characterCount() - 1, layout.iconFlag},
                           chat::ChatBox::kDefaultMaxChars);
        for (const chat::TextRange& range : trim.removals) {
            cursor.setPosition(range.start);
            cursor.setPosition(range.end, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    }

  private:
    chat::ChatBoxRenderer renderer_;
    chat::ChatBoxLedger ledger_;
};

template <typename Box>
void drawReceivedMessages(benchmark::State& state) {
    const auto layouts = receivedMessages();
    const int perTurn = static_cast<int>(state.range(0));
    const bool shown = state.range(1) != 0;
    double firstChunk = 0;
    double lastChunk = 0;
    double total = 0;
    for (auto _ : state) {
        Box box;
        box.resize(600, 400);
        box.setVisible(shown);
        QCoreApplication::processEvents();
        for (int chunk = 0; chunk < kMessages / kChunk; ++chunk) {
            const double begin = threadSeconds();
            for (int i = chunk * kChunk; i < (chunk + 1) * kChunk; ++i) {
                box.showChatMessage(i + 1, layouts[static_cast<size_t>(i)]);
                if ((i + 1) % perTurn == 0) {
                    QCoreApplication::processEvents();
                }
            }
            const double seconds = threadSeconds() - begin;
            total += seconds;
            if (chunk == 0) {
                firstChunk += seconds;
            } else if (chunk == kMessages / kChunk - 1) {
                lastChunk += seconds;
            }
        }
        benchmark::DoNotOptimize(box.document()->characterCount());
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["msgs_per_s"] = kMessages * runs / total;
    state.counters["first1000_us_per_msg"] = firstChunk / runs / kChunk * 1e6;
    state.counters["last1000_us_per_msg"] = lastChunk / runs / kChunk * 1e6;
    state.counters["last_vs_first"] = lastChunk / firstChunk;
}

void BM_ChatBoxDrawReceived(benchmark::State& state) {
    drawReceivedMessages<chat::ChatBox>(state);
}
BENCHMARK(BM_ChatBoxDrawReceived)
    ->ArgNames({"per_turn", "shown"})
    ->ArgsProduct({{1, 100}, {1, 0}})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

void BM_NaiveChatBoxDrawReceived(benchmark::State& state) {
    drawReceivedMessages<NaiveChatBox>(state);
}
// Only the burst: one message per turn takes minutes with this box.
BENCHMARK(BM_NaiveChatBoxDrawReceived)
    ->ArgNames({"per_turn", "shown"})
    ->Args({100, 1})
    ->Args({100, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
