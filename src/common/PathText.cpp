#include "common/PathText.h"

namespace hh {

bool isPlainFolderName(std::string_view name, HostSystem system) {
    if (name.empty() || name == "." || name == ".." ||
        name.find_first_of(folderSeparators(system)) != std::string_view::npos ||
        name.find('\0') != std::string_view::npos)
        return false;
    return system != HostSystem::Windows ||
           name.find_first_of(":*?\"<>|") == std::string_view::npos;
}

std::filesystem::path pathOf(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string textOf(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

} // namespace hh
