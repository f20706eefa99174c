#include "client/text_filter.h"

#include <algorithm>

namespace chat {

namespace {
constexpr size_t kUnitCount = 0x10000;
constexpr uint32_t kPairBits = 19;  // 64 KiB of bits
}  // namespace

TextFilter::TextFilter() : symbolOfFolded_(kUnitCount, 0), symbolOfUnit_(kUnitCount, 0) {
    clearKeywords();
}

char16_t TextFilter::fold(char16_t unit) {
    if (unit >= 0xFF01 && unit <= 0xFF5E) {
        unit = static_cast<char16_t>(unit - 0xFF01 + 0x21);
    }
    if (unit >= u'A' && unit <= u'Z') {
        unit = static_cast<char16_t>(unit - u'A' + u'a');
    }
    return unit;
}

template <typename Visit>
void TextFilter::forEachUnitFoldingTo(char16_t folded, Visit visit) {
    visit(folded);
    if (folded >= u'a' && folded <= u'z') {
        visit(static_cast<char16_t>(folded - u'a' + u'A'));
        visit(static_cast<char16_t>(folded - u'a' + 0xFF21));  // full-width capital
    }
    if (folded >= 0x21 && folded <= 0x7E) {
        visit(static_cast<char16_t>(folded - 0x21 + 0xFF01));
    }
}

// The unit tables are not refilled whole: only the entries of the units in use are reset.
void TextFilter::clearKeywords() {
    for (const char16_t folded : foldedUnits_) {
        symbolOfFolded_[folded] = 0;
    }
    foldedUnits_.clear();
    symbolCount_ = 0;
    trie_.assign(1, TrieNode{});
    wordCount_ = 0;
    compiled_ = false;
}

void TextFilter::addKeyword(std::u16string_view word) {
    if (word.empty()) {
        return;
    }
    StateId node = 0;
    for (const char16_t unit : word) {
        Symbol& symbol = symbolOfFolded_[fold(unit)];
        if (symbol == 0) {
            symbol = ++symbolCount_;
            foldedUnits_.push_back(fold(unit));
        }
        auto& children = trie_[node].children;
        const auto at = std::lower_bound(children.begin(), children.end(), symbol,
                                         [](const auto& edge, Symbol s) { return edge.first < s; });
        if (at != children.end() && at->first == symbol) {
            node = at->second;
            continue;
        }
        const auto child = static_cast<StateId>(trie_.size());
        children.insert(at, {symbol, child});
        trie_.emplace_back();  // may move `children`; it is not used again
        node = child;
    }
    trie_[node].terminal = true;
    ++wordCount_;
    compiled_ = false;
}

void TextFilter::compile() const {
    const size_t stateCount = trie_.size();

    // States are numbered breadth first: the shallow states, where text spends most of its
    // steps, lie together, and every state comes after its failure state.
    std::vector<StateId> order{0};
    std::vector<StateId> newId(stateCount, 0);
    for (size_t i = 0; i < order.size(); ++i) {
        for (const auto& [symbol, child] : trie_[order[i]].children) {
            newId[child] = static_cast<StateId>(order.size());
            order.push_back(child);
        }
    }
    states_.assign(stateCount, State{});
    edges_.clear();
    for (size_t state = 0; state < stateCount; ++state) {
        states_[state].edgeBegin = static_cast<uint32_t>(edges_.size());
        for (const auto& [symbol, child] : trie_[order[state]].children) {
            edges_.push_back({symbol, newId[child]});
            states_[state].childBits |= uint32_t{1} << (symbol % 32);
        }
        states_[state].edgeCount = static_cast<uint32_t>(edges_.size()) - states_[state].edgeBegin;
    }

    // Failure states and match marks, in breadth-first order so that both are known for every
    // shallower state (and set on the edges leading to it) before they are needed.
    rootNext_.assign(size_t{symbolCount_} + 1, 0);
    for (size_t state = 0; state < stateCount; ++state) {
        for (uint32_t edge = 0; edge < states_[state].edgeCount; ++edge) {
            Edge& e = edges_[states_[state].edgeBegin + edge];
            const StateId target = e.target;
            const StateId failure = state == 0 ? 0 : next(states_[state].failure, e.symbol);
            const bool matches = trie_[order[target]].terminal || (failure & kMatch) != 0;
            states_[target].failure = failure;
            e.target = target | (matches ? kMatch : 0);
            if (state == 0) {
                rootNext_[e.symbol] = e.target;
            }
        }
    }
    for (const char16_t folded : unitsInTable_) {
        forEachUnitFoldingTo(folded, [&](char16_t unit) { symbolOfUnit_[unit] = 0; });
    }
    unitsInTable_ = foldedUnits_;
    for (const char16_t folded : foldedUnits_) {
        const Symbol symbol = symbolOfFolded_[folded];
        const uint32_t entry = symbol | ((rootNext_[symbol] & kMatch) ? kOneUnitWord : 0);
        forEachUnitFoldingTo(folded, [&](char16_t unit) { symbolOfUnit_[unit] = entry; });
    }
    lastShallowState_ = static_cast<StateId>(states_[0].edgeCount);
    openingPairs_.assign((size_t{1} << kPairBits) / 64, 0);
    for (uint32_t first = 0; first < states_[0].edgeCount; ++first) {
        const Edge& opening = edges_[first];
        const State& shallow = states_[opening.target & ~kMatch];
        for (uint32_t edge = 0; edge < shallow.edgeCount; ++edge) {
            const uint32_t bit = pairBit(opening.symbol, edges_[shallow.edgeBegin + edge].symbol);
            openingPairs_[bit / 64] |= uint64_t{1} << (bit % 64);
        }
    }
    compiled_ = true;
}

uint32_t TextFilter::pairBit(Symbol first, Symbol second) {
    return ((uint32_t{first} << 16 | second) * 0x9E3779B1u) >> (32 - kPairBits);
}

TextFilter::StateId TextFilter::next(StateId state, Symbol symbol) const {
    state &= ~kMatch;
    while (state != 0) {
        const State& s = states_[state];
        if (((s.childBits >> (symbol % 32)) & 1) == 0) {
            state = s.failure & ~kMatch;
            continue;
        }
        // Binary search without branches on the comparisons (the edge counts vary too much
        // for a predictor): `edge` ends at the last edge whose symbol is not above `symbol`.
        const Edge* edge = edges_.data() + s.edgeBegin;
        for (uint32_t count = s.edgeCount; count > 1;) {
            const uint32_t half = count / 2;
            edge = edge[half].symbol <= symbol ? edge + half : edge;
            count -= half;
        }
        if (edge->symbol == symbol) {
            return edge->target;
        }
        state = s.failure & ~kMatch;
    }
    return rootNext_[symbol];
}

bool TextFilter::isRestricted(std::u16string_view text) const {
    if (wordCount_ == 0) {
        return false;
    }
    if (!compiled_) {
        compile();
    }
    Symbol previous = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const uint32_t entry = symbolOfUnit_[text[i]];
        if (entry & kOneUnitWord) {
            return true;
        }
        const auto symbol = static_cast<Symbol>(entry);
        const Symbol before = previous;
        previous = symbol;
        const uint32_t bit = pairBit(before, symbol);
        if (((openingPairs_[bit / 64] >> (bit % 64)) & 1) == 0) {
            continue;
        }
        // The automaton was at most one unit deep before this unit: at the state of `before`.
        StateId state = next(rootNext_[before], symbol);
        while ((state & ~kMatch) > lastShallowState_) {
            if (state & kMatch) {
                return true;
            }
            if (++i == text.size()) {
                return false;
            }
            previous = static_cast<Symbol>(symbolOfUnit_[text[i]]);
            state = next(state, previous);
        }
        if (state & kMatch) {
            return true;
        }
    }
    return false;
}

}  // namespace chat
