#pragma once
#include "util/byte_stream.h"

namespace tekna {

// A record that travels as a byte stream. Reading stops silently at a stream error; the record then
// holds what was read up to that point.
class ISerializable {
  public:
    virtual OutputByteStream& write(OutputByteStream& out) const = 0;
    virtual InputByteStream& read(InputByteStream& in) = 0;
    virtual void destroy() { delete this; }

  protected:
    virtual ~ISerializable() = default;
};

}  // namespace tekna
