#pragma once
// The zlib wrapper of the utility library. The client only ever inflates: four server commands may
// carry their body as one zlib stream (with zlib header); the client never compresses.
#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace tekna {

// A failed zlib call. The text is "ZLib function \"<name>\" failed, error=<code>".
class EZLib : public std::runtime_error {
  public:
    EZLib(const char* function, int errorCode);

    int errorCode() const { return errorCode_; }

  private:
    int errorCode_;
};

class Compression {
  public:
    virtual ~Compression() = default;
    // Transforms the whole of `input` at once.
    virtual std::vector<uint8_t> process(std::span<const uint8_t> input) = 0;
};

// Each call inflates one complete zlib stream. Output grows in chunks of 1024 bytes, or of twice
// the compressed length when that is 1024 or more. Inflation stops at the end of the stream, or
// without error when the input is used up before it (a cut stream yields what it held). Any other
// zlib failure raises EZLib; the zlib stream is ended in every case. Empty input gives empty
// output.
class Inflate : public Compression {
  public:
    std::vector<uint8_t> process(std::span<const uint8_t> input) override;
};

}  // namespace tekna
