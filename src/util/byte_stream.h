#pragma once
// Little-endian byte streams for the serialisable records (rights, room limits). The input stream
// never reads past its end: a read that does not fit fails, leaves its target untouched, and
// every later read fails too, so a walk over received bytes ends cleanly at the end of its input.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace tekna {

class OutputByteStream {
  public:
    OutputByteStream& writeI32(int32_t value);
    OutputByteStream& writeU32(uint32_t value);
    OutputByteStream& writeU16(uint16_t value);
    OutputByteStream& writeF64(double value);
    OutputByteStream& writeBytes(const void* data, size_t size);

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> take() { return std::move(bytes_); }

  private:
    std::vector<uint8_t> bytes_;
};

class InputByteStream {
  public:
    explicit InputByteStream(std::span<const uint8_t> bytes) : bytes_(bytes) {}

    InputByteStream& readI32(int32_t& value);
    InputByteStream& readU32(uint32_t& value);
    InputByteStream& readU16(uint16_t& value);
    InputByteStream& readF64(double& value);
    InputByteStream& readBytes(void* data, size_t size);
    // Reads `size` bytes into `text`; fails (leaving `text` as it was) when fewer remain.
    InputByteStream& readString(std::string& text, size_t size);

    // For readers that find bytes they cannot accept (an unknown tag): every later read fails.
    void markFailed() { failed_ = true; }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    size_t remaining() const { return bytes_.size() - position_; }
    size_t position() const { return position_; }

  private:
    bool take(size_t size);

    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
    bool failed_ = false;
};

}  // namespace tekna
