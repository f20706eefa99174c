// The keyword filter over 1 MB (UTF-16) of mixed Chinese and Latin text with 5,000 words, none of
// which occurs in the text (so every run reads the whole text), next to a plain word-by-word
// search.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "client/text_filter.h"

namespace {

constexpr size_t kTextUnits = 512 * 1024;  // 1 MB of UTF-16
constexpr size_t kWordCount = 5000;

struct Workload {
    std::u16string text;
    std::vector<std::u16string> words;
};

std::u16string foldedCopy(std::u16string_view text) {
    std::u16string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), chat::TextFilter::fold);
    return folded;
}

bool naiveIsRestricted(const std::vector<std::u16string>& foldedWords, std::u16string_view text) {
    const std::u16string folded = foldedCopy(text);
    return std::any_of(foldedWords.begin(), foldedWords.end(), [&](const std::u16string& word) {
        return folded.find(word) != std::u16string::npos;
    });
}

const Workload& workload() {
    static const Workload built = [] {
        std::mt19937 random(20261211);
        auto chinese = [&] { return static_cast<char16_t>(0x4E00 + random() % 2500); };
        auto latinWord = [&](size_t length) {
            std::u16string word;
            for (size_t i = 0; i < length; ++i) {
                word += static_cast<char16_t>(u'a' + random() % 26);
            }
            if (random() % 4 == 0) {
                word[0] = static_cast<char16_t>(word[0] - u'a' + u'A');
            }
            return word;
        };
        Workload w;
        const std::u16string punctuation = u"，。！？ ,.";
        while (w.text.size() < kTextUnits) {
            if (random() % 3 == 0) {
                w.text += latinWord(2 + random() % 7);
                w.text += u' ';
            } else {
                for (int i = 0, n = 2 + random() % 12; i < n; ++i) {
                    w.text += chinese();
                }
                w.text += punctuation[random() % punctuation.size()];
            }
        }
        w.text.resize(kTextUnits);

        const std::u16string foldedText = foldedCopy(w.text);
        while (w.words.size() < kWordCount) {
            std::u16string word;
            if (w.words.size() % 2 == 0) {
                for (size_t i = 0, n = 2 + random() % 2; i < n; ++i) {
                    word += chinese();
                }
            } else {
                word = latinWord(4 + random() % 4);
            }
            if (foldedText.find(foldedCopy(word)) == std::u16string::npos) {
                w.words.push_back(word);
            }
        }
        return w;
    }();
    return built;
}

void BM_TextFilter(benchmark::State& state) {
    const Workload& w = workload();
    chat::TextFilter filter;
    for (const auto& word : w.words) {
        filter.addKeyword(word);
    }
    filter.isRestricted(u"");  // compile outside the timing
    for (auto _ : state) {
        benchmark::DoNotOptimize(filter.isRestricted(w.text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * w.text.size() * 2));
}
BENCHMARK(BM_TextFilter)->Unit(benchmark::kMillisecond);

void BM_NaiveWordByWord(benchmark::State& state) {
    const Workload& w = workload();
    std::vector<std::u16string> foldedWords;
    for (const auto& word : w.words) {
        foldedWords.push_back(foldedCopy(word));
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(naiveIsRestricted(foldedWords, w.text));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * w.text.size() * 2));
}
BENCHMARK(BM_NaiveWordByWord)->Unit(benchmark::kMillisecond);

void BM_TextFilterLoad(benchmark::State& state) {
    const Workload& w = workload();
    for (auto _ : state) {
        chat::TextFilter filter;
        for (const auto& word : w.words) {
            filter.addKeyword(word);
        }
        benchmark::DoNotOptimize(filter.isRestricted(u"x"));
    }
}
BENCHMARK(BM_TextFilterLoad)->Unit(benchmark::kMillisecond);

}  // namespace
