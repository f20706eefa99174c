#include "util/byte_stream.h"

#include <cstring>

#include "util/little_endian.h"

namespace tekna {
namespace {

template <typename T>
void append(std::vector<uint8_t>& bytes, T value) {
    const size_t at = bytes.size();
    bytes.resize(at + sizeof value);
    chat::storeLE(bytes.data() + at, value);
}

}  // namespace

OutputByteStream& OutputByteStream::writeI32(int32_t value) {
    append(bytes_, value);
    return *this;
}

OutputByteStream& OutputByteStream::writeU32(uint32_t value) {
    append(bytes_, value);
    return *this;
}

OutputByteStream& OutputByteStream::writeU16(uint16_t value) {
    append(bytes_, value);
    return *this;
}

OutputByteStream& OutputByteStream::writeF64(double value) {
    append(bytes_, value);
    return *this;
}

OutputByteStream& OutputByteStream::writeBytes(const void* data, size_t size) {
    const auto* begin = static_cast<const uint8_t*>(data);
    bytes_.insert(bytes_.end(), begin, begin + size);
    return *this;
}

bool InputByteStream::take(size_t size) {
    if (failed_ || size > remaining()) {
        failed_ = true;
        return false;
    }
    return true;
}

InputByteStream& InputByteStream::readI32(int32_t& value) {
    return readBytes(&value, sizeof value);
}

InputByteStream& InputByteStream::readU32(uint32_t& value) {
    return readBytes(&value, sizeof value);
}

InputByteStream& InputByteStream::readU16(uint16_t& value) {
    return readBytes(&value, sizeof value);
}

InputByteStream& InputByteStream::readF64(double& value) {
    return readBytes(&value, sizeof value);
}

InputByteStream& InputByteStream::readBytes(void* data, size_t size) {
    if (take(size)) {
        std::memcpy(data, bytes_.data() + position_, size);
        position_ += size;
    }
    return *this;
}

InputByteStream& InputByteStream::readString(std::string& text, size_t size) {
    if (take(size)) {
        text.assign(reinterpret_cast<const char*>(bytes_.data() + position_), size);
        position_ += size;
    }
    return *this;
}

}  // namespace tekna
