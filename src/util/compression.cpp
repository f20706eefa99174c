#include "util/compression.h"

#include <zlib.h>

#include <cstdio>
#include <limits>
#include <string>

namespace tekna {

namespace {

std::string zlibFailureText(const char* function, int errorCode) {
    char text[128];
    std::snprintf(text, sizeof text, "ZLib function \"%s\" failed, error=%d", function, errorCode);
    return text;
}

// Ends the inflate stream however the operation leaves.
class InflateStream {
  public:
    InflateStream() {
        const int result = inflateInit(&stream_);
        if (result != Z_OK) {
            throw EZLib("inflateInit", result);
        }
    }
    ~InflateStream() { inflateEnd(&stream_); }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    z_stream& get() { return stream_; }

  private:
    z_stream stream_{};
};

}  // namespace

EZLib::EZLib(const char* function, int errorCode)
    : std::runtime_error(zlibFailureText(function, errorCode)), errorCode_(errorCode) {}

std::vector<uint8_t> Inflate::process(std::span<const uint8_t> input) {
    std::vector<uint8_t> output;
    if (input.empty()) {
        return output;
    }
    // zlib counts in uInt; the chunk is twice the input.
    if (input.size() > std::numeric_limits<uInt>::max() / 2) {
        throw std::length_error("compressed data too large");
    }
    const size_t chunk = input.size() < 1024 ? 1024 : 2 * input.size();

    InflateStream guard;
    z_stream& stream = guard.get();
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.avail_in = static_cast<uInt>(input.size());
    for (;;) {
        const size_t filled = output.size();
        output.resize(filled + chunk);
        stream.next_out = output.data() + filled;
        stream.avail_out = static_cast<uInt>(chunk);
        const int result = inflate(&stream, Z_NO_FLUSH);
        if (result == Z_STREAM_END) {
            break;
        }
        if (result != Z_OK) {
            throw EZLib("inflate", result);
        }
        if (stream.avail_out > 0) {
            break;  // the input ended before the stream did
        }
    }
    output.resize(output.size() - stream.avail_out);
    return output;
}

}  // namespace tekna
