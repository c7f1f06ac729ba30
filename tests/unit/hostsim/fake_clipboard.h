#pragma once
// A clipboard that is one block in memory, so the commands can be tested
// without a window system.
#include <optional>

#include "host_commands.h"

class FakeClipboard final : public DibClipboard {
  public:
    bool put(const std::vector<std::uint8_t>& block) override {
        if (refuse) return false;
        content = block;
        return true;
    }
    bool take(std::vector<std::uint8_t>& block) override {
        if (refuse || !content) return false;
        block = *content;
        return true;
    }
    std::optional<std::vector<std::uint8_t>> content;
    bool refuse = false;
};
