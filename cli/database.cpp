// tavix-cli db stats FOLDER
// tavix-cli db query FOLDER POSITION|MOVES [--player NAME] [--tournament NAME] [--years A-B]
// tavix-cli db generate FOLDER GAMES [--seed N]
//
// The same database code as the database window. query prints what the
// window shows: one line per next move (tab-separated: move, games, Black's
// wins, draws, White's wins, Black's average final discs), most played
// first, a blank line, then one line per game (year, tournament, Black,
// White, Black's discs, theoretical score), and on standard error the load
// and query times. generate writes a folder of computer games: the first
// moves chosen by a preference that each position keeps across games (so
// that openings repeat and branch), the rest by levels 0 and 1 with now and
// then a random legal move, all from the seed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/engine_args.h"
#include "core/bitboard.h"
#include "core/notation.h"
#include "core/position_text.h"
#include "database/game_database.h"
#include "engine/jobs.h"
#include "engine/random.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int Usage() {
    std::fputs("usage: tavix-cli db stats FOLDER\n"
               "       tavix-cli db query FOLDER POSITION|MOVES [--player NAME] [--tournament NAME] [--years A-B]\n"
               "       tavix-cli db generate FOLDER GAMES [--seed N]\n",
               stderr);
    return 2;
}

// Reads the folder's database files (sorted by name) and loads them; false
// when the folder cannot be read.
bool LoadFolder(const char* folder, GameDatabase& db, double& seconds) {
    const auto start = Clock::now();
    std::vector<std::filesystem::path> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file() && IsDatabaseFileName(entry.path().filename().string()))
            paths.push_back(entry.path());
    if (error) {
        std::fprintf(stderr, "tavix-cli db: cannot read %s\n", folder);
        return false;
    }
    std::sort(paths.begin(), paths.end());
    std::vector<DatabaseFile> files;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        DatabaseFile file{path.filename().string(), {}};
        file.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        files.push_back(std::move(file));
    }
    LoadDatabase(files, db);
    seconds = SecondsSince(start);
    return true;
}

int Stats(const char* folder) {
    GameDatabase db;
    double seconds = 0;
    if (!LoadFolder(folder, db, seconds)) return 2;
    int first = 0, last = 0;
    for (const DatabaseGame& g : db.games) {
        if (first == 0 || g.year < first) first = g.year;
        if (g.year > last) last = g.year;
    }
    std::printf("games %zu\nplayers %zu\ntournaments %zu\nyears %d-%d\ngame files %d\ndamaged %zu\n", db.games.size(),
                db.players.size(), db.tournaments.size(), first, last, db.gameFiles, db.problems.size());
    for (const DatabaseProblem& p : db.problems) std::printf("  %s\n", DatabaseProblemText(p).c_str());
    std::printf("load %.3f s\n", seconds);
    return 0;
}

bool ReadYears(const char* text, DatabaseFilter& filter) {
    int from = 0, to = 0;
    char end = 0;
    if (std::sscanf(text, "%d-%d%c", &from, &to, &end) == 2 && from <= to) {
        filter.yearFrom = from;
        filter.yearTo = to;
        return true;
    }
    if (std::sscanf(text, "%d%c", &from, &end) == 1) {
        filter.yearFrom = filter.yearTo = from;
        return true;
    }
    return false;
}

int Query(int argc, char** argv) {
    Position pos;
    int used = 0;
    if (argc < 5 || !ReadGamePosition(argc, argv, 4, pos, used)) return Usage();
    DatabaseFilter filter;
    for (int i = 4 + used; i < argc; ++i) {
        if (std::strcmp(argv[i], "--player") == 0 && i + 1 < argc) filter.player = argv[++i];
        else if (std::strcmp(argv[i], "--tournament") == 0 && i + 1 < argc) filter.tournament = argv[++i];
        else if (std::strcmp(argv[i], "--years") == 0 && i + 1 < argc && ReadYears(argv[i + 1], filter)) ++i;
        else return Usage();
    }
    GameDatabase db;
    double loadSeconds = 0;
    if (!LoadFolder(argv[3], db, loadSeconds)) return 2;
    const auto start = Clock::now();
    const DatabaseAnswer answer = QueryDatabase(db, pos, filter);
    const double querySeconds = SecondsSince(start);
    for (const NextMoveStats& m : answer.moves) std::printf("%s\n", NextMoveLine(m).c_str());
    std::printf("\n");
    for (const GameMatch& match : answer.games) std::printf("%s\n", GameLine(db, match).c_str());
    std::fprintf(stderr, "load %.3f s, query %.1f ms, %zu games\n", loadSeconds, querySeconds * 1000,
                 answer.games.size());
    return 0;
}

// ---- generate ----

// Player names as the archive writes them, in the Western code page: some
// carry letters beyond ASCII.
std::vector<std::string> GeneratedPlayers() {
    const char* const given[] = {"Anna", "Bruno", "C\xE9line", "Dmitri", "Emi", "Fran\xE7ois", "G\xFCnter",
                                 "Hiro", "Ines", "J\xF8rgen", "Kenji", "Lu\xEDs", "Mar\xED" "a", "Noor",
                                 "Ols", "Piet"};
    const char* const family[] = {"Abe",     "Berg",     "Ca\xF1o", "Dupont", "Eriksson", "Fujita",
                                  "Garc\xED" "a", "Hansen", "Ito",     "Jaro\x9A", "Kimura",   "L\xF3pez",
                                  "M\xFCller", "Nakamura", "Okada"};
    std::vector<std::string> names;
    for (const char* f : family)
        for (const char* g : given) names.push_back(std::string(f) + " " + g);
    return names;
}

std::vector<std::string> GeneratedTournaments() {
    const char* const places[] = {"Paris", "Tokyo", "Stockholm", "Praha", "M\xFCnchen", "Osaka",
                                  "Amsterdam", "Bruxelles", "S\xE3o Paulo", "Online"};
    const char* const kinds[] = {"Open", "Championship", "Cup"};
    std::vector<std::string> names;
    for (const char* p : places)
        for (const char* k : kinds) names.push_back(std::string(p) + " " + k);
    return names;
}

// The preference a position has for one of its moves: the same in every
// game, so that popular openings emerge.
unsigned Preference(const Discs& d, int bit) {
    std::uint64_t h = d.black * 0x9E3779B97F4A7C15ull ^ d.white * 0xC2B2AE3D27D4EB4Full ^ static_cast<unsigned>(bit);
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    const unsigned p = static_cast<unsigned>(h % 6);
    return 1 + p * p * p;
}

Square PreferredMove(const Position& pos) {
    const Discs d = DiscsOf(pos);
    const Bits own = pos.sideToMove == 0 ? d.black : d.white, opp = pos.sideToMove == 0 ? d.white : d.black;
    Bits moves = LegalMovesOf(own, opp);
    unsigned total = 0;
    for (Bits x = moves; x; x &= x - 1) total += Preference(d, std::countr_zero(x));
    unsigned pick = static_cast<unsigned>(NextRandom()) * 32768u % total;
    pick = (pick + static_cast<unsigned>(NextRandom())) % total;
    for (Bits x = moves; x; x &= x - 1) {
        const unsigned p = Preference(d, std::countr_zero(x));
        if (pick < p) return SquareOfBit(std::countr_zero(x));
        pick -= p;
    }
    return 0;
}

Square RandomMove(const Position& pos) {
    Square legal[32];
    int n = 0;
    for (Square sq = 11; sq <= 88; ++sq)
        if (IsPlayable(sq) && pos.board[sq] == Empty && CanPlay(pos, sq, ColourOfSide(pos.sideToMove))) legal[n++] = sq;
    return legal[NextRandom() % n];
}

// One game: its moves (0 after the last) and Black's final discs with the
// empties given to the winner.
WthorGame PlayGeneratedGame(EngineState& es, int openingPlies, int level) {
    WthorGame game;
    Position pos;
    SetInitialPosition(pos);
    int moves = 0;
    for (;;) {
        const int legal = CountLegalMoves(pos, pos.sideToMove);
        if (legal < 0) break;
        if (legal == 0) {
            pos.sideToMove ^= 1;
            continue;
        }
        Square sq;
        if (moves < openingPlies) sq = PreferredMove(pos);
        else if (NextRandom() % 8 == 0) sq = RandomMove(pos);
        else sq = ChooseComputerMove(es, pos, level, 0, false, {}).move;
        FlipRecord flips;
        PlayMove(pos, sq, ColourOfSide(pos.sideToMove), flips);
        game.moves[moves++] = static_cast<std::uint8_t>(sq);
        pos.sideToMove ^= 1;
    }
    int black = 0, white = 0;
    RecountPosition(pos, black, white);
    const int empties = 64 - black - white;
    if (black > white) black += empties;
    else if (white > black) white += empties;
    else black += empties / 2;
    game.blackDiscs = black;
    game.theoretical = black;
    return game;
}

bool WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

int Generate(int argc, char** argv) {
    int games = 0, seed = 1;
    if (argc < 5 || !ReadInteger(argv[4], games) || games < 1) return Usage();
    for (int i = 5; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc && ReadInteger(argv[i + 1], seed)) ++i;
        else return Usage();
    }
    const std::filesystem::path folder = argv[3];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    SeedRandom(static_cast<std::uint32_t>(seed));
    const std::vector<std::string> players = GeneratedPlayers(), tournaments = GeneratedTournaments();
    constexpr int FirstYear = 2001, Years = 20;
    WthorHeader header;
    header.year = 26;
    header.month = 12;
    header.day = 8;
    header.depth = 0;  // the theoretical score is the game's own result
    std::vector<std::vector<WthorGame>> byYear(Years);
    static EngineState es;
    const auto start = Clock::now();
    for (int k = 0; k < games; ++k) {
        const int openingPlies = 6 + NextRandom() % 10;
        WthorGame g = PlayGeneratedGame(es, openingPlies, NextRandom() % 2);
        g.black = NextRandom() % static_cast<int>(players.size());
        g.white = (g.black + 1 + NextRandom() % (static_cast<int>(players.size()) - 1)) %
                  static_cast<int>(players.size());
        g.tournament = NextRandom() % static_cast<int>(tournaments.size());
        byYear[static_cast<std::size_t>(k % Years)].push_back(g);
    }
    WthorHeader names = header;
    names.nameCount = static_cast<int>(players.size());
    bool written = WriteFile(folder / "WTHOR.JOU", ComposeWthorNames(names, players, WthorPlayerSize));
    names.nameCount = static_cast<int>(tournaments.size());
    written = written && WriteFile(folder / "WTHOR.TRN", ComposeWthorNames(names, tournaments, WthorTournamentSize));
    for (int y = 0; y < Years; ++y) {
        WthorHeader h = header;
        h.gameYear = FirstYear + y;
        h.count = static_cast<std::int32_t>(byYear[static_cast<std::size_t>(y)].size());
        written = written && WriteFile(folder / ("WTH_" + std::to_string(h.gameYear) + ".wtb"),
                                       ComposeWthorGames(h, byYear[static_cast<std::size_t>(y)]));
    }
    if (!written) {
        std::fprintf(stderr, "tavix-cli db generate: cannot write into %s\n", argv[3]);
        return 1;
    }
    std::printf("%d games in %s, %.1f s\n", games, argv[3], SecondsSince(start));
    return 0;
}

}  // namespace

int RunDatabase(int argc, char** argv) {
    if (argc == 4 && std::string(argv[2]) == "stats") return Stats(argv[3]);
    if (argc >= 5 && std::string(argv[2]) == "query") return Query(argc, argv);
    if (argc >= 5 && std::string(argv[2]) == "generate") return Generate(argc, argv);
    return Usage();
}
