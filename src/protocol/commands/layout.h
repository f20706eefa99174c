#pragma once
// One description per command serves both directions. Each command (and each fixed record inside
// one) has a static `layout(io, self)` that names its fields by offset, counted from the first byte
// of the packet (of the record, for a record):
//
//     template <class Io, class Self>
//     static void layout(Io& io, Self& c) { io.field(24, c.roomId); io.field(28, c.record); }
//
// With a `LayoutWriter` the call lays the values out; with a `LayoutReader` it copies them back,
// never reading past the received bytes. Bytes that no field names are written as zero and never
// read. A variable part (text, list, stream) always closes the packet and is handled by a tail
// codec: a type with `static void write(std::vector<uint8_t>&, const Value&)`, appending, and
// `static Value read(std::span<const uint8_t>)`, given exactly the bytes from its offset to the
// end of the packet.
#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "protocol/commands/command_id.h"
#include "protocol/commands/read_result.h"
#include "protocol/packet_header.h"
#include "util/little_endian.h"

namespace chat {

template <class T>
concept WireScalar = std::is_integral_v<T> || std::is_enum_v<T>;

// A record of fixed size with its own layout (ChatterRecord, RoomRecord, SystemTime, ...).
template <class T>
concept WireBlock = requires {
    { T::kSize } -> std::convertible_to<size_t>;
};

class LayoutWriter {
  public:
    // Fields land at `origin` + their offset inside `bytes`, which already holds the fixed part.
    explicit LayoutWriter(std::vector<uint8_t>& bytes, size_t origin = 0)
        : bytes_(bytes), origin_(origin) {}

    template <WireScalar T>
    void field(size_t offset, T value) {
        if constexpr (std::is_same_v<T, bool>) {
            *at(offset, 1) = value ? 1 : 0;
        } else {
            storeLE(at(offset, sizeof(T)), value);
        }
    }
    template <size_t N>
    void field(size_t offset, const std::array<uint8_t, N>& value) {
        std::memcpy(at(offset, N), value.data(), N);
    }
    template <WireBlock B>
    void field(size_t offset, const B& block) {
        at(offset, B::kSize);
        LayoutWriter inner(bytes_, origin_ + offset);
        B::layout(inner, block);
    }
    // char[fieldBytes] and wchar[fieldUnits]: cut to fit with their NUL, zero-filled.
    void narrow(size_t offset, size_t fieldBytes, std::string_view gbk);
    void wide(size_t offset, size_t fieldUnits, std::u16string_view text);

    template <class Codec, class Value>
    void tail(size_t offset, Codec, const Value& value) {
        checkTail(offset);
        Codec::write(bytes_, value);
    }

  private:
    // Both throw std::logic_error on a layout that contradicts its own size.
    uint8_t* at(size_t offset, size_t width);
    void checkTail(size_t offset) const;

    std::vector<uint8_t>& bytes_;
    size_t origin_;
};

class LayoutReader {
  public:
    // `bytes` begin at layout offset `firstOffset`: 0 for a whole packet or record, 24 for a body
    // received without its header (after inflating).
    explicit LayoutReader(std::span<const uint8_t> bytes, size_t firstOffset = 0)
        : bytes_(bytes), first_(firstOffset) {}

    template <WireScalar T>
    void field(size_t offset, T& value) {
        if (const uint8_t* p = at(offset, sizeof(T))) {
            if constexpr (std::is_same_v<T, bool>) {
                value = *p != 0;
            } else {
                value = loadLE<T>(p);
            }
        }
    }
    template <size_t N>
    void field(size_t offset, std::array<uint8_t, N>& value) {
        if (const uint8_t* p = at(offset, N)) {
            std::memcpy(value.data(), p, N);
        }
    }
    template <WireBlock B>
    void field(size_t offset, B& block) {
        if (const uint8_t* p = at(offset, B::kSize)) {
            LayoutReader inner(std::span<const uint8_t>(p, B::kSize));
            B::layout(inner, block);
        }
    }
    void narrow(size_t offset, size_t fieldBytes, std::string& gbk);
    void wide(size_t offset, size_t fieldUnits, std::u16string& text);

    template <class Codec, class Value>
    void tail(size_t offset, Codec, Value& value) {
        if (offset < first_ || offset - first_ > bytes_.size()) {
            overran_ = true;
            return;
        }
        value = Codec::read(bytes_.subspan(offset - first_));
    }

    // True once a field lay (partly) outside the bytes; such a field is left as it was.
    bool overran() const { return overran_; }

  private:
    const uint8_t* at(size_t offset, size_t width);

    std::span<const uint8_t> bytes_;
    size_t first_;
    bool overran_ = false;
};

// Writes the final length into the header's size field; throws std::length_error beyond
// kMaxPacketSize, since the receiver would end the connection on such a packet.
void sealPacketSize(std::vector<uint8_t>& packet);

// The whole packet of `command`: header (size, id, not compressed), fixed part, variable part.
// Throws std::length_error when the packet would exceed the receiver's limit of kMaxPacketSize.
template <class Command>
std::vector<uint8_t> buildPacket(const Command& command) {
    static_assert(Command::kSize >= kPacketHeaderSize);
    std::vector<uint8_t> packet =
        makePacket(static_cast<uint16_t>(Command::kId), Command::kSize - kPacketHeaderSize);
    LayoutWriter out(packet);
    Command::layout(out, command);
    sealPacketSize(packet);
    return packet;
}

// Reads a received packet: `packet` is the whole packet as cut by its header's size field. The
// compressed field is looked at only for the compressible commands (kCompressible), whose
// compressed bodies are read with readBody once inflated; the other commands never carry one.
template <class Command>
ReadResult<Command> readPacket(std::span<const uint8_t> packet) {
    if (packet.size() < Command::kSize) {
        return ReadError::TooShort;
    }
    const PacketHeader header = PacketHeader::read(packet.data());
    if (header.command != static_cast<uint16_t>(Command::kId)) {
        return ReadError::WrongCommand;
    }
    if constexpr (requires { Command::kCompressible; }) {
        if (header.compressed != 0) {
            return ReadError::Compressed;
        }
    }
    Command command{};
    LayoutReader in(packet);
    Command::layout(in, command);
    if (in.overran()) {
        return ReadError::TooShort;
    }
    return command;
}

// Reads the body of a packet whose body arrives apart from its header: the compressible commands,
// after their body has been inflated.
template <class Command>
ReadResult<Command> readBody(std::span<const uint8_t> body) {
    if (kPacketHeaderSize + body.size() < Command::kSize) {
        return ReadError::TooShort;
    }
    Command command{};
    LayoutReader in(body, kPacketHeaderSize);
    Command::layout(in, command);
    if (in.overran()) {
        return ReadError::TooShort;
    }
    return command;
}

template <WireBlock B>
std::array<uint8_t, B::kSize> encodeBlock(const B& block) {
    std::vector<uint8_t> bytes(B::kSize, 0);
    LayoutWriter out(bytes);
    B::layout(out, block);
    std::array<uint8_t, B::kSize> result;
    std::memcpy(result.data(), bytes.data(), B::kSize);
    return result;
}

template <WireBlock B>
B decodeBlock(std::span<const uint8_t, B::kSize> bytes) {
    B block{};
    LayoutReader in(bytes);
    B::layout(in, block);
    return block;
}

}  // namespace chat
