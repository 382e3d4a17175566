// Any bytes as a GGF text: each game read writes out as a text that reads
// back as the same game, plies and clocks alike.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "record/ggf.h"

namespace {

bool SamePlies(const GameRecord& a, const GameRecord& b) {
    GameRecord x = a, y = b;
    SeekHistory(x, 0);
    SeekHistory(y, 0);
    Square sa, sb;
    int ca, cb;
    for (;;) {
        const bool more = StepForward(x, &sa, nullptr, &ca);
        if (more != StepForward(y, &sb, nullptr, &cb)) return false;
        if (!more) return true;
        if (sa != sb || ca != cb) return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<GgfGame> games = ReadGgfGames(std::string_view(reinterpret_cast<const char*>(data), size));
    const RecordTime when = {2026, 12, 8, 12, 0, 0};
    for (const GgfGame& g : games) {
        if (g.movesTaken > g.movesWritten + 62 || HistoryIndex(g.game.record) != g.game.record.endIndex) std::abort();
        const std::string text = ComposeGgfText(g.game.position, g.game.record, g.game.kinds, when);
        const std::vector<GgfGame> back = ReadGgfGames(text);
        if (back.size() != 1 || !SamePlies(back[0].game.record, g.game.record) ||
            std::memcmp(back[0].game.position.board, g.game.position.board, sizeof g.game.position.board) != 0 ||
            back[0].game.kinds[0] != g.game.kinds[0] || back[0].game.kinds[1] != g.game.kinds[1])
            std::abort();
    }
    return 0;
}
