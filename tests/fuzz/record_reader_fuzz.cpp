// Any bytes as a record file: read into a game, which then saves again and
// reads back as the same game.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "record/record_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RecordGame game;
    if (!ReadRecordText(std::string_view(reinterpret_cast<const char*>(data), size), game)) return 0;
    if (HistoryIndex(game.record) != game.record.endIndex) std::abort();
    const RecordTime when = {2026, 12, 7, 23, 59, 59};
    const std::string text = ComposeRecordText(game.position, game.record, game.kinds, when);
    RecordGame again;
    if (!ReadRecordText(text, again)) std::abort();
    if (std::memcmp(again.position.board, game.position.board, sizeof game.position.board) != 0 ||
        again.position.sideToMove != game.position.sideToMove || again.record.endIndex != game.record.endIndex ||
        again.kinds[0] != game.kinds[0] || again.kinds[1] != game.kinds[1])
        std::abort();
    return 0;
}
