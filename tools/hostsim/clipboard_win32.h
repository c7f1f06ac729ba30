#pragma once
// The real clipboard behind the host's commands.
#include <windows.h>

#include "host_commands.h"

class WindowClipboard final : public DibClipboard {
  public:
    explicit WindowClipboard(HWND clipboardOwner) : owner(clipboardOwner) {}
    bool put(const std::vector<std::uint8_t>& block) override;
    bool take(std::vector<std::uint8_t>& block) override;

  private:
    HWND owner;
};
