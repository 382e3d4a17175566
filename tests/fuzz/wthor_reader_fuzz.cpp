// Any bytes as the files of an archive folder (split into a player file, a
// tournament file and a game file at the first two bytes): the database
// loads what it can, every game it keeps replays legally, and a query of a
// position some game reached finds that game.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/position_text.h"
#include "database/game_database.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    const std::size_t a = data[0] * bytes.size() / 256, b = a + (bytes.size() - a) * data[1] / 256;
    GameDatabase db;
    LoadDatabase({{"WTHOR.JOU", bytes.substr(0, a)}, {"WTHOR.TRN", bytes.substr(a, b - a)},
                  {"X.wtb", bytes.substr(b)}},
                 db);
    for (std::size_t k = 0; k < db.games.size() && k < 8; ++k) {
        const DatabaseGame& g = db.games[k];
        const int moves = g.moveCount / 2;
        RecordGame game;
        if (!DatabaseGameRecord(db, {static_cast<int>(k), 0}, moves, game)) std::abort();
        const DatabaseAnswer answer = QueryDatabase(db, game.position, {});
        bool found = false;
        for (const GameMatch& m : answer.games) found = found || m.game == static_cast<int>(k);
        if (!found) std::abort();
    }
    for (const DatabaseProblem& p : db.problems) (void)DatabaseProblemText(p);
    return 0;
}
