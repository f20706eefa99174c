#include "protocol/commands/layout.h"

#include <stdexcept>

#include "util/wire_text.h"

namespace chat {

uint8_t* LayoutWriter::at(size_t offset, size_t width) {
    if (origin_ + offset + width > bytes_.size()) {
        throw std::logic_error("field outside the fixed part of its layout");
    }
    return bytes_.data() + origin_ + offset;
}

void LayoutWriter::checkTail(size_t offset) const {
    if (origin_ + offset != bytes_.size()) {
        throw std::logic_error("the variable part of a layout must close it");
    }
}

void LayoutWriter::narrow(size_t offset, size_t fieldBytes, std::string_view gbk) {
    putNarrow(at(offset, fieldBytes), fieldBytes, gbk);
}

void LayoutWriter::wide(size_t offset, size_t fieldUnits, std::u16string_view text) {
    putWide(at(offset, fieldUnits * 2), fieldUnits, text);
}

void LayoutReader::narrow(size_t offset, size_t fieldBytes, std::string& gbk) {
    if (const uint8_t* p = at(offset, fieldBytes)) {
        gbk = getNarrow(p, fieldBytes);
    }
}

void LayoutReader::wide(size_t offset, size_t fieldUnits, std::u16string& text) {
    if (const uint8_t* p = at(offset, fieldUnits * 2)) {
        text = getWide(p, fieldUnits);
    }
}

const uint8_t* LayoutReader::at(size_t offset, size_t width) {
    if (offset < first_ || offset - first_ > bytes_.size() ||
        width > bytes_.size() - (offset - first_)) {
        overran_ = true;
        return nullptr;
    }
    return bytes_.data() + (offset - first_);
}

void sealPacketSize(std::vector<uint8_t>& packet) {
    if (packet.size() > kMaxPacketSize) {
        throw std::length_error("数据包超过允许的最大长度");
    }
    storeLE(packet.data(), static_cast<uint32_t>(packet.size()));
}

}  // namespace chat
