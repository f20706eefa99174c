#pragma once
// A hot-key port that refuses chosen values and records what it was asked.
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "client/ports/hot_key_port.h"

namespace fakes {

class FakeHotKeyPort : public chat::HotKeyPort {
  public:
    bool registerHotKey(uint32_t value) override {
        calls.push_back("register " + std::to_string(value));
        if (refused.contains(value)) {
            return false;
        }
        held = value;
        return true;
    }
    void unregisterHotKey() override {
        calls.push_back("unregister");
        held.reset();
    }

    std::set<uint32_t> refused;  // values another program holds
    std::optional<uint32_t> held;
    std::vector<std::string> calls;
};

}  // namespace fakes
