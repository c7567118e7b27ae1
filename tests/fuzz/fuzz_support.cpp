#include "tests/fuzz/fuzz_support.h"

#include <bit>
#include <cstdio>
#include <cstdlib>

std::string_view InputText(const std::uint8_t* data, std::size_t size) {
    // libFuzzer may pass a null pointer with size 0, which string_view must not see.
    if (size == 0) {
        return {};
    }
    return {reinterpret_cast<const char*>(data), size};
}

std::string Printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f && c != '\\' && c != '"') {
            out.push_back(c);
        } else {
            out += "\\x";
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0xf]);
        }
    }
    return out + "\"";
}

std::string Describe(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%a (bits 0x%08x)", static_cast<double>(value),
                  std::bit_cast<std::uint32_t>(value));
    return text;
}

void Require(bool holds, std::string_view what, std::string_view detail) {
    if (holds) {
        return;
    }
    std::fprintf(stderr, "FINDING: %.*s\n  %.*s\n", static_cast<int>(what.size()), what.data(),
                 static_cast<int>(detail.size()), detail.data());
    std::abort();
}
