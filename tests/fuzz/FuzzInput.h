#pragma once
// Splits one fuzzer input into a few fields (separated by a 0xFF byte), so a
// target can vary several arguments at once.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace hh::fuzz {

inline std::vector<std::string> fields(const std::uint8_t* data, std::size_t size, std::size_t n) {
    std::vector<std::string> out(n);
    std::string_view all(reinterpret_cast<const char*>(data), size);
    for (std::size_t i = 0; i < n; ++i) {
        const auto cut = i + 1 < n ? all.find('\xFF') : std::string_view::npos;
        out[i] = std::string(all.substr(0, cut));
        if (cut == std::string_view::npos)
            break;
        all.remove_prefix(cut + 1);
    }
    return out;
}

inline void check(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "property violated: %s\n", what); // before the trap ends it
    __builtin_trap();
}

} // namespace hh::fuzz
