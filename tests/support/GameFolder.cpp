#include "support/GameFolder.h"

#include <chrono>
#include <cstdio>

namespace hh::test {
namespace fs = std::filesystem;

GameFolder::GameFolder(const std::string& inside)
    : root_(temp_.path() / std::u8string(inside.begin(), inside.end())) {
    fs::create_directories(game() / "baseq3");
    fs::create_directories(dump().parent_path());
    fs::create_directories(program());
    writeFile(dump(), "");
    writeFile(ini(), "[Main]\r\nPath=" + dump().generic_string() + "\r\nNewUser=No\r\nCFGAt=" +
                         (game() / "baseq3" / "handleHound.cfg").generic_string() +
                         "\r\nDumpFileName=handleHound.who\r\n");
}

void GameFolder::writeDump(const std::vector<std::string>& consoleLines) {
    std::string text;
    for (const auto& line : consoleLines)
        text += line + "\n";
    text += "Dumped console text to handleHound.who.\n\n";
    // One change, as the game makes it in one frame: the new content with a
    // time at least a second away from every earlier dump, put in place at once.
    fs::path staged = dump();
    staged += ".new";
    writeFile(staged, text);
    ++writes_;
    fs::last_write_time(staged,
                        fs::file_time_type::clock::now() + std::chrono::seconds(2 * writes_));
    fs::rename(staged, dump());
}

std::vector<std::string>
GameFolder::playerList(const std::vector<std::pair<std::string, std::string>>& guidAndName) {
    std::vector<std::string> lines{
        "PunkBuster Client: Player List: [Slot #] [GUID] [Address] [Status] "
        "[Power] [Auth Rate] [Recent SS] [O/S] [Name]"};
    int slot = 1;
    for (const auto& [guid, name] : guidAndName) {
        // Columns: slot 1-2, GUID 4-11, "(VALID" between them and the name at column 31.
        char head[64]; // room for any slot number and GUID length
        std::snprintf(head, sizeof head, "%-2d %-8s(VALID) 1.2.3.4", slot++, guid.c_str());
        std::string line = head;
        line.resize(30, ' ');
        lines.push_back(line + name);
    }
    lines.emplace_back("PunkBuster Client: End of Player List (" +
                       std::to_string(guidAndName.size()) + " Players)");
    return lines;
}

std::string GameFolder::resultText() const {
    return readFile(resultScript());
}

} // namespace hh::test
