#include "settings/IniFile.h"

#include "common/Strings.h"
#include "platform/Files.h"

namespace hh {
namespace {

// A hand-edited file may end lines with LF or CR alone; the program itself
// always writes CR LF, so the writer turns every line end into CR LF first
// and then sees the same lines the reader sees.
std::string withCrLfLineEnds(std::string_view content) {
    std::string out;
    out.reserve(content.size() + 16);
    for (std::size_t i = 0; i < content.size(); ++i) {
        const char c = content[i];
        if (c == '\n' || c == '\r') {
            out += "\r\n";
            if (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

// A settings file is a few hundred bytes; anything this large is not one, and
// is neither read nor rewritten.
constexpr std::size_t kMaxIniBytes = 1 << 20;

bool isControlOrLineEnd(char c) {
    return static_cast<unsigned char>(c) <= 13;
}

std::string normalised(std::string content) {
    content.erase(0, 1); // the CR of the CR LF put in front to find the first line
    const std::string three = "\r\n\r\n\r\n";
    while (content.find(three) != std::string::npos)
        content = replaceAll(content, three, "\r\n\r\n");
    while (!content.empty() && isControlOrLineEnd(content.back()))
        content.pop_back();
    std::size_t lead = 0;
    while (lead < content.size() && isControlOrLineEnd(content[lead]))
        ++lead;
    content.erase(0, lead);
    return content;
}

} // namespace

std::string iniValue(std::string_view content, std::string_view section, std::string_view key) {
    const std::string header = concat({"[", toLower(section), "]"});
    const std::string prefix = toLower(key) + "=";
    bool inSection = false;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t end = content.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = content.size();
        const std::string_view line = content.substr(pos, end - pos);
        pos = end;
        if (pos < content.size() && content[pos] == '\r')
            ++pos;
        if (pos < content.size() && content[pos] == '\n')
            ++pos;

        const std::string low = toLower(line);
        const bool sectionLine = low.find('[') != std::string::npos;
        if (sectionLine)
            inSection = low == header;
        if (sectionLine || !inSection)
            continue;
        if (startsWith(low, prefix))
            return std::string(line.substr(prefix.size()));
    }
    return {};
}

std::string iniWithKey(std::string_view original, std::string_view section, std::string_view key,
                       std::string_view value) {
    std::string content = concat({"\r\n", withCrLfLineEnds(original), "[]"});
    const std::string low = toLower(content);
    const std::string headerPattern = concat({"\r\n[", toLower(section), "]\r"});
    const std::string keyPattern = concat({"\n", toLower(key), "="});
    const std::string keyLine = std::string(key) + "=" + std::string(value);

    const std::size_t s = low.find(headerPattern);
    if (s == std::string::npos) {
        content.resize(content.size() - 2);
        content += "\r\n\r\n[" + std::string(section) + "]\r\n" + keyLine;
    } else {
        const std::size_t nextSection = low.find('[', s + headerPattern.size());
        const std::size_t k = low.find(keyPattern, s);
        content.resize(content.size() - 2);
        if (k == std::string::npos || k > nextSection) {
            // After the LF that ends the header line: the key becomes the section's first line.
            std::size_t at = s + headerPattern.size();
            if (at < content.size() && content[at] == '\n')
                ++at;
            content.insert(at, keyLine + "\r\n");
        } else {
            const std::size_t lineEnd = content.find('\r', k);
            std::string rest =
                lineEnd == std::string::npos ? std::string() : content.substr(lineEnd);
            content = content.substr(0, k + 1) + keyLine + rest;
        }
    }
    return normalised(std::move(content)) + "\r\n";
}

std::string INIread(const std::filesystem::path& fileName, std::string_view section,
                    std::string_view key) {
    ensureFileExists(fileName);
    const auto content = readWholeFile(fileName);
    if (!content || content->size() > kMaxIniBytes)
        return {};
    return iniValue(*content, section, key);
}

bool INIwrite(const std::filesystem::path& fileName, std::string_view section, std::string_view key,
              std::string_view value, std::string* error) {
    auto refuse = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    // A line break would smuggle a second line (another key or section) into the file.
    for (std::string_view part : {section, key, value})
        if (part.find_first_of("\r\n") != std::string_view::npos)
            return refuse("line break in a setting");
    std::string current;
    if (fileExists(fileName)) {
        auto read = readWholeFile(fileName);
        if (!read)
            return refuse("cannot read '" + fileName.string() + "'");
        if (read->size() > kMaxIniBytes)
            return refuse(concat({"'", fileName.string(), "' is too large to be a settings file"}));
        current = std::move(*read);
    }
    return writeFileAtomically(fileName, iniWithKey(current, section, key, value), error);
}

} // namespace hh
