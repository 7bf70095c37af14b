// The player search on arbitrary dump bytes and keys.
#include "FuzzInput.h"
#include "gamelink/PlayerList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto f = hh::fuzz::fields(data, size, 3);
    const bool bySlot = !f[2].empty() && (f[2][0] & 1);
    const auto result = hh::findPlayerInText(f[0], f[1], bySlot);
    const std::string& a = result.answer;
    hh::fuzz::check(a.empty() || a == "needPList" || a == "empty" || a.size() == 8,
                    "the answer is a GUID or one of the three words");
    for (const auto& line : hh::playerLinesIn(f[0]))
        hh::fuzz::check(line.guid.size() <= 8, "a GUID has at most 8 characters");
    return 0;
}
