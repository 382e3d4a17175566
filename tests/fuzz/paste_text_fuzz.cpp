// Any bytes as pasted text: a game taken from it copies out as a text that
// pastes back as the same game.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "core/board.h"
#include "record/game_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Position pos;
    GameRecord rec;
    const PasteOutcome outcome = PasteGame(std::string_view(reinterpret_cast<const char*>(data), size), pos, rec);
    if (!outcome.accepted) return 0;
    const std::string copied = GameTranscriptText(pos, rec);
    Position again;
    GameRecord againRec;
    const PasteOutcome back = PasteGame(copied, again, againRec);
    // An empty game from the standard start copies as an empty text.
    if (copied.empty()) return rec.endIndex == 0 ? 0 : (std::abort(), 0);
    if (!back.accepted || back.refused != -1 || back.movesTaken != outcome.movesTaken ||
        std::memcmp(again.board, pos.board, sizeof pos.board) != 0 || again.sideToMove != pos.sideToMove)
        std::abort();
    return 0;
}
