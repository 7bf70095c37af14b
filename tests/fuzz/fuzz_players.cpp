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
    for (const auto& player : hh::currentPlayersIn(f[0]).players)
        hh::fuzz::check(player.guid.size() == 8, "a listed player has a GUID of 8 characters");
    return 0;
}
