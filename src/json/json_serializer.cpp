#include "json/json_serializer.h"

#include <cstdint>

namespace {

const char kReplacementCharacter[] = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence starting at `pos`, or 0 when the
// bytes there are ill-formed; `illFormedLength` then receives the length of the
// maximal ill-formed subsequence (Unicode Standard, table 3-7).
size_t wellFormedLength(const std::string& s, size_t pos, size_t& illFormedLength) {
    unsigned char lead = static_cast<unsigned char>(s[pos]);
    size_t length;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        illFormedLength = 1;
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        if (pos + k >= s.size()) {
            illFormedLength = k;
            return 0;
        }
        unsigned char c = static_cast<unsigned char>(s[pos + k]);
        if (c < low || c > high) {
            illFormedLength = k;
            return 0;
        }
        low = 0x80;
        high = 0xBF;
    }
    return length;
}

void appendEscapedAscii(std::string& out, unsigned char c) {
    static const char kHex[] = "0123456789abcdef";
    switch (c) {
        case '"':
            out += "\\\"";
            return;
        case '\\':
            out += "\\\\";
            return;
        case 0x08:
            out += "\\b";
            return;
        case 0x09:
            out += "\\t";
            return;
        case 0x0A:
            out += "\\n";
            return;
        case 0x0C:
            out += "\\f";
            return;
        case 0x0D:
            out += "\\r";
            return;
        default:
            break;
    }
    if (c < 0x20) {
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 0x0F];
    } else {
        out += static_cast<char>(c);
    }
}

bool isPlainAscii(unsigned char c) {
    return static_cast<unsigned char>(c - 0x20) < 0x60 && c != '"' && c != '\\';
}

void appendNumber(std::string& out, double value) {
    out += std::to_string(value);
}

}  // namespace

void JsonSerialiser::writeQuoted(const std::string& value) {
    text += '"';
    size_t pos = 0;
    while (pos < value.size()) {
        // Printable ASCII other than the quote and the backslash goes out as it is.
        const char* data = value.data();
        const size_t size = value.size();
        size_t plain = pos;
        while (plain < size && isPlainAscii(static_cast<unsigned char>(data[plain]))) {
            ++plain;
        }
        text.append(data + pos, plain - pos);
        pos = plain;
        if (pos == value.size()) {
            break;
        }
        unsigned char c = static_cast<unsigned char>(value[pos]);
        if (c < 0x80) {
            appendEscapedAscii(text, c);
            ++pos;
            continue;
        }
        size_t illFormed = 0;
        size_t length = wellFormedLength(value, pos, illFormed);
        if (length > 0) {
            text.append(value, pos, length);
            pos += length;
        } else {
            text += kReplacementCharacter;
            pos += illFormed;
        }
    }
    text += '"';
}

void JsonSerialiser::visit(JsonNull&) {
    text += "null";
}

void JsonSerialiser::visit(JsonBoolean& v) {
    text += v.getValue() ? "true" : "false";
}

void JsonSerialiser::visit(JsonString& v) {
    writeQuoted(v.getValue());
}

void JsonSerialiser::visit(JsonNumber& v) {
    appendNumber(text, v.getValue());
}

void JsonSerialiser::visit(JsonList& v) {
    text += '[';
    bool first = true;
    for (JsonValue* element : v.getElements()) {
        if (!first) {
            text += ',';
        }
        first = false;
        element->accept(*this);
    }
    text += ']';
}

void JsonSerialiser::visit(JsonObject& v) {
    text += '{';
    bool first = true;
    for (const auto& member : v.getMembers()) {
        if (!first) {
            text += ',';
        }
        first = false;
        writeQuoted(member.first);
        text += ':';
        member.second->accept(*this);
    }
    text += '}';
}

void JsonXmlSerializer::visit(JsonNull&) {
    text += "null";
}

void JsonXmlSerializer::visit(JsonBoolean& v) {
    text += v.getValue() ? "true" : "false";
}

void JsonXmlSerializer::visit(JsonString& v) {
    text += v.getValue();
}

void JsonXmlSerializer::visit(JsonNumber& v) {
    appendNumber(text, v.getValue());
}

void JsonXmlSerializer::visit(JsonList& v) {
    for (JsonValue* element : v.getElements()) {
        text += "<item>";
        element->accept(*this);
        text += "</item>";
    }
}

void JsonXmlSerializer::visit(JsonObject& v) {
    for (const auto& member : v.getMembers()) {
        const std::string& key = member.first;
        text += '<';
        text += key;
        text += '>';
        member.second->accept(*this);
        text += "</";
        text.append(key, 0, key.find(' '));
        text += '>';
    }
}
