#pragma once
// The keyword filter and the invalid-nickname filter: a set of words and one question, "does this
// text contain any of them?". The chat client owns two filters; each is emptied and refilled when
// the server sends a new word list.
//
// Matching is Aho-Corasick over UTF-16 code units: one pass over the text, time linear in its
// length and independent of the number of words. Stretches of text that cannot open a word of two
// or more units are passed over by a cheaper scan (see openingPairs_). Words and text are folded
// the same way before they are compared:
//   - ASCII letters ignore case ("ABC" catches "abc");
//   - full-width ASCII forms U+FF01..U+FF5E count as their half-width forms U+0021..U+007E
//     (so "ＡＢＣ" and "ａｂｃ" are caught by "abc" too).
// Nothing else is folded: Chinese characters, other letters and surrogate pairs match unit for
// unit. Empty words are ignored (they would otherwise match every text).
//
// A filter compiles its automaton at the first test after a change, so even testing (a const
// operation) must not run on two threads at once; the chat client uses its filters on the window
// thread only.
#include <cstdint>
#include <string_view>
#include <vector>

namespace chat {

class TextFilter {
  public:
    TextFilter();

    // Removes every word (before a new list is loaded).
    void clearKeywords();
    void addKeyword(std::u16string_view word);
    // Replaces every word by `words` (any range of UTF-16 strings, such as a received word set).
    template <typename Words>
    void replaceKeywords(const Words& words) {
        clearKeywords();
        for (const auto& word : words) {
            addKeyword(word);
        }
    }
    // True when `text` contains one of the words; always false while the filter has none.
    bool isRestricted(std::u16string_view text) const;
    bool hasKeywords() const { return wordCount_ > 0; }

    // The folding applied to words and text, unit by unit.
    static char16_t fold(char16_t unit);

  private:
    using Symbol = uint16_t;  // dense number of a folded unit that occurs in some word; 0: none
    using StateId = uint32_t;

    struct TrieNode {
        std::vector<std::pair<Symbol, StateId>> children;  // sorted by symbol
        bool terminal = false;
    };

    void compile() const;
    // Calls `visit` with every unit whose folded form is `folded` (itself included).
    template <typename Visit>
    static void forEachUnitFoldingTo(char16_t folded, Visit visit);
    static uint32_t pairBit(Symbol first, Symbol second);
    StateId next(StateId state, Symbol symbol) const;

    // Built by addKeyword.
    std::vector<Symbol> symbolOfFolded_;  // folded unit -> symbol
    std::vector<char16_t> foldedUnits_;   // the folded units that have a symbol
    Symbol symbolCount_ = 0;
    std::vector<TrieNode> trie_;
    size_t wordCount_ = 0;

    // The automaton, compiled from the trie before the first test after a change. Filters are
    // used on the window thread only, so the lazy compile needs no lock. Every stored state id
    // carries kMatch when a word ends at that state or at one of its suffix states.
    static constexpr StateId kMatch = 0x80000000u;
    struct State {
        uint32_t childBits;  // bit (symbol % 32) set for each edge: most misses skip the search
        StateId failure;
        uint32_t edgeBegin;
        uint32_t edgeCount;
    };
    struct Edge {
        Symbol symbol;
        StateId target;
    };
    mutable bool compiled_ = false;
    // Any unit -> symbol of its folded form, with kOneUnitWord when that unit alone is a word.
    static constexpr uint32_t kOneUnitWord = 0x10000u;
    mutable std::vector<uint32_t> symbolOfUnit_;
    mutable std::vector<char16_t> unitsInTable_;  // the folded units set in symbolOfUnit_
    mutable std::vector<StateId> rootNext_;       // symbol -> state, for the root
    mutable std::vector<State> states_;
    mutable std::vector<Edge> edges_;  // each state's edges together, sorted by symbol
    // States up to this id are the root and its children (depth 0 or 1).
    mutable StateId lastShallowState_ = 0;
    // A bit per hash of each pair of symbols that opens a word of two or more units. While the
    // text shows no such pair, the automaton cannot be deeper than one unit, so the scan skips
    // it and only looks for one-unit words; a set bit (a real pair or a hash collision) hands
    // the text to the automaton until it is shallow again. Each unit is still looked at once.
    mutable std::vector<uint64_t> openingPairs_;
};

}  // namespace chat
