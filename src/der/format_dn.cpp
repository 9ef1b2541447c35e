#include "der/format_dn.h"

#include "common/logger.h"

namespace {

// The label for an OID, judged by its length and last byte alone (so any
// 3-byte OID ending in 3 reads as a commonName). Null, after logging, when
// there is none.
const char* oidLabel(const uint8_t* oid, size_t length) {
    switch (length) {
        case 3:
            switch (oid[2]) {
                case 3:
                    return "CN=";
                case 6:
                    return "C=";
                case 10:
                    return "O=";
                case 11:
                    return "OU=";
                default:
                    Logger::instance()->error("Unknown DN field ID = %02x", oid[2]);
                    return nullptr;
            }
        case 9:
            return "E=";
        case 10:
            return "Principal=";
        default:
            Logger::instance()->error("Unknown DN field len = %d", static_cast<int>(length));
            return nullptr;
    }
}

}  // namespace

std::string formatDn(const uint8_t* data, size_t length) {
    std::string item;
    std::string result;
    size_t position = 0;
    while (position < length) {
        if (length - position < 2) {
            break;
        }
        uint8_t tag = data[position];
        uint8_t first = data[position + 1];
        position += 2;
        size_t contentLength = first;
        if ((first & 0x80) != 0) {
            size_t count = first & 0x7F;
            if (count > 4 || count > length - position) {
                break;
            }
            contentLength = 0;
            for (size_t i = 0; i < count; ++i) {
                contentLength = (contentLength << 8) | data[position++];
            }
        }
        if (contentLength > length - position) {
            break;
        }
        if (tag == 0x30 || tag == 0x31 || tag == 0xA0) {
            // Entered by reading on: the next element is the first one inside.
            // Other constructed elements ([1] and up) are skipped whole below.
            continue;
        }
        const uint8_t* content = data + position;
        switch (tag) {
            case 0x06:
                if (const char* label = oidLabel(content, contentLength)) {
                    item += label;
                }
                break;
            case 0x0C:
            case 0x13:
            case 0x16:
                item.append(reinterpret_cast<const char*>(content), contentLength);
                if (!result.empty()) {
                    item += ", ";
                }
                result = item + result;
                item.clear();
                break;
            default:
                break;
        }
        position += contentLength;
    }
    return result;
}
