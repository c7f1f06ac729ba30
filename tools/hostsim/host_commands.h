#pragma once
// The host's command set: parses one command text and carries it out on the
// model, giving the reply text (without a line end).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "frame_dib.h"
#include "host_model.h"

// The clipboard as the commands see it. The exe passes the real one; tests
// pass a plain block.
class DibClipboard {
  public:
    virtual ~DibClipboard() = default;
    // Replaces the clipboard's content with this CF_DIB block.
    virtual bool put(const std::vector<std::uint8_t>& block) = 0;
    // Copies the clipboard's CF_DIB block, bounded by its real size.
    virtual bool take(std::vector<std::uint8_t>& block) = 0;
};

inline constexpr const char* kUnknownCommandReply = "ERROR: unknown command";

// Strict decimal: optional sign, at least one digit, nothing else, fits an int.
bool parseStrictInt(std::string_view text, int& value);

// Carries out one command. `shape` says how "SendFrame" builds its DIB.
std::string runHostCommand(HostModel& model, std::string_view command, DibClipboard& clipboard,
                           const DibShape& shape = {});
