#include "database/game_database.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>

#include "core/bitboard.h"
#include "core/notation.h"
#include "core/position_text.h"

namespace {

constexpr Bits StartBlack = BitAt(BitOfSquare(45)) | BitAt(BitOfSquare(54));
constexpr Bits StartWhite = BitAt(BitOfSquare(44)) | BitAt(BitOfSquare(55));

struct SymmetryTables {
    std::uint8_t bit[BoardSymmetries][64];
    int inverse[BoardSymmetries];
};

SymmetryTables MakeSymmetryTables() {
    SymmetryTables t{};
    for (int s = 0; s < BoardSymmetries; ++s)
        for (int b = 0; b < 64; ++b) {
            int row = b / 8, col = b % 8;
            if (s & 1) std::swap(row, col);
            if (s & 2) row = 7 - row;
            if (s & 4) col = 7 - col;
            t.bit[s][b] = static_cast<std::uint8_t>(row * 8 + col);
        }
    for (int s = 0; s < BoardSymmetries; ++s)
        for (int r = 0; r < BoardSymmetries; ++r)
            if (t.bit[r][t.bit[s][1]] == 1 && t.bit[r][t.bit[s][8]] == 8) t.inverse[s] = r;
    return t;
}

const SymmetryTables& Symmetry() {
    static const SymmetryTables tables = MakeSymmetryTables();
    return tables;
}

Bits TransformBits(int s, Bits x) {
    Bits out = 0;
    for (; x; x &= x - 1) out |= BitAt(Symmetry().bit[s][std::countr_zero(x)]);
    return out;
}

// A game being replayed: the discs and the side to play the next move.
struct Replay {
    Bits disc[2] = {StartBlack, StartWhite};
    int side = 0;
};

// Plays the move on bit, passing first when the side to move has no move.
// False (nothing changed) when neither colour may play it so.
bool PlayBit(Replay& r, int bit) {
    const Bits at = BitAt(bit);
    if ((r.disc[0] | r.disc[1]) & at) return false;
    Bits flips = FlipsOf(bit, r.disc[r.side], r.disc[r.side ^ 1]);
    if (!flips) {
        if (LegalMovesOf(r.disc[r.side], r.disc[r.side ^ 1])) return false;
        flips = FlipsOf(bit, r.disc[r.side ^ 1], r.disc[r.side]);
        if (!flips) return false;
        r.side ^= 1;
    }
    r.disc[r.side] |= flips | at;
    r.disc[r.side ^ 1] &= ~flips;
    r.side ^= 1;
    return true;
}

// The side that plays next: the other one when the side to move must pass.
int NextMover(const Bits disc[2], int side) {
    if (!LegalMovesOf(disc[side], disc[side ^ 1]) && LegalMovesOf(disc[side ^ 1], disc[side])) return side ^ 1;
    return side;
}

bool IsSquareCode(int code) { return code >= 11 && code <= 88 && code % 10 >= 1 && code % 10 <= 8; }

std::string Lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool EndsWith(std::string_view name, std::string_view tail) {
    return name.size() >= tail.size() && Lowered(name.substr(name.size() - tail.size())) == tail;
}

std::string BaseName(std::string_view name) {
    const std::size_t slash = name.find_last_of("/\\");
    return Lowered(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

// Marks the names that contain part, in any letter case.
std::vector<char> MatchingNames(const std::vector<std::string>& names, const std::string& part) {
    std::vector<char> match(names.size(), 1);
    if (part.empty()) return match;
    const std::string wanted = Lowered(part);
    for (std::size_t k = 0; k < names.size(); ++k) match[k] = Lowered(names[k]).find(wanted) != std::string::npos;
    return match;
}

bool Marked(const std::vector<char>& marks, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < marks.size() && marks[static_cast<std::size_t>(index)];
}

void AddGames(const DatabaseFile& file, GameDatabase& db) {
    std::vector<WthorProblem> problems;
    WthorHeader header;
    const std::vector<WthorGame> games = ReadWthorGames(file.bytes, header, problems);
    ++db.gameFiles;
    if (!games.empty()) db.depth = header.depth;
    for (std::size_t k = 0; k < games.size(); ++k) {
        const WthorGame& w = games[k];
        DatabaseGame g{};
        g.year = static_cast<std::uint16_t>(header.gameYear);
        g.tournament = static_cast<std::uint16_t>(w.tournament);
        g.black = static_cast<std::uint16_t>(w.black);
        g.white = static_cast<std::uint16_t>(w.white);
        g.blackDiscs = static_cast<std::uint8_t>(w.blackDiscs);
        g.theoretical = static_cast<std::uint8_t>(w.theoretical);
        Replay r;
        const int record = static_cast<int>(k) + 1;
        for (int m = 0; m < WthorMoveRoom && w.moves[m] != 0; ++m) {
            const int code = w.moves[m];
            if (!IsSquareCode(code)) {
                problems.push_back({WthorFault::BadSquare, record, m + 1});
                break;
            }
            const int bit = BitOfSquare(code);
            if (!PlayBit(r, bit)) {
                problems.push_back({WthorFault::IllegalMove, record, m + 1});
                break;
            }
            g.moves[g.moveCount++] = static_cast<std::uint8_t>(bit);
        }
        db.games.push_back(g);
    }
    for (const WthorProblem& p : problems) db.problems.push_back({file.name, p.fault, p.record, p.detail});
}

void AddNames(const DatabaseFile& file, int width, std::vector<std::string>& names, GameDatabase& db) {
    std::vector<WthorProblem> problems;
    names = ReadWthorNames(file.bytes, width, problems);
    for (const WthorProblem& p : problems) db.problems.push_back({file.name, p.fault, p.record, p.detail});
}

}  // namespace

int TransformBit(int symmetry, int bit) { return Symmetry().bit[symmetry][bit]; }
int InverseSymmetry(int symmetry) { return Symmetry().inverse[symmetry]; }

bool IsDatabaseFileName(std::string_view name) {
    const std::string base = BaseName(name);
    return base == "wthor.jou" || base == "wthor.trn" || EndsWith(base, ".wtb");
}

void LoadDatabase(const std::vector<DatabaseFile>& files, GameDatabase& db) {
    db = GameDatabase{};
    for (const DatabaseFile& file : files) {
        const std::string base = BaseName(file.name);
        if (base == "wthor.jou") AddNames(file, WthorPlayerSize, db.players, db);
        else if (base == "wthor.trn") AddNames(file, WthorTournamentSize, db.tournaments, db);
        else if (EndsWith(base, ".wtb")) AddGames(file, db);
    }
}

std::string DatabaseProblemText(const DatabaseProblem& p) {
    char text[160];
    switch (p.fault) {
        case WthorFault::ShortHeader:
            std::snprintf(text, sizeof text, "ヘッダが足りません (%d バイト)", p.detail);
            break;
        case WthorFault::CountBeyondFile:
            std::snprintf(text, sizeof text, "ヘッダの件数 %d はファイルより多く、読めた分だけ使います", p.detail);
            break;
        case WthorFault::TruncatedRecord:
            std::snprintf(text, sizeof text, "%d 件目が途中で切れています", p.record);
            break;
        case WthorFault::NotEightByEight:
            std::snprintf(text, sizeof text, "盤の大きさ %d は読めません", p.detail);
            break;
        case WthorFault::BadSquare:
            std::snprintf(text, sizeof text, "%d 件目の %d 手目は升目ではありません。その前までを使います", p.record,
                          p.detail);
            break;
        case WthorFault::IllegalMove:
            std::snprintf(text, sizeof text, "%d 件目の %d 手目は打てません。その前までを使います", p.record, p.detail);
            break;
    }
    return p.file + ": " + text;
}

DatabaseAnswer QueryDatabase(const GameDatabase& db, const Position& pos, const DatabaseFilter& filter) {
    DatabaseAnswer answer;
    const Discs d = DiscsOf(pos);
    const Bits query[2] = {d.black, d.white};
    const int moves = CountBits(d.black | d.white) - 4;
    if (moves < 0 || moves > WthorMoveRoom) return answer;
    const int side = NextMover(query, pos.sideToMove & 1);
    // The query turned by every symmetry, with a game turned back by the
    // inverse: a game matches under s when its position is s of the query.
    struct Image {
        Bits disc[2];
        Bits occupied;
    };
    std::array<Image, BoardSymmetries> images;
    for (int s = 0; s < BoardSymmetries; ++s) {
        images[s].disc[0] = TransformBits(s, query[0]);
        images[s].disc[1] = TransformBits(s, query[1]);
        images[s].occupied = images[s].disc[0] | images[s].disc[1];
    }
    const std::vector<char> players = MatchingNames(db.players, filter.player);
    const std::vector<char> tournaments = MatchingNames(db.tournaments, filter.tournament);
    const bool anyPlayer = filter.player.empty(), anyTournament = filter.tournament.empty();
    std::map<Square, NextMoveStats> next;
    for (std::size_t k = 0; k < db.games.size(); ++k) {
        const DatabaseGame& g = db.games[k];
        if (g.moveCount < moves || g.year < filter.yearFrom || g.year > filter.yearTo) continue;
        if (!anyPlayer && !Marked(players, g.black) && !Marked(players, g.white)) continue;
        if (!anyTournament && !Marked(tournaments, g.tournament)) continue;
        // The squares filled first: a game can stand on the position only
        // when they are the position's discs.
        Bits occupied = StartBlack | StartWhite;
        for (int m = 0; m < moves; ++m) occupied |= BitAt(g.moves[m]);
        int symmetry = -1;
        Replay r;
        bool replayed = false;
        for (int s = 0; s < BoardSymmetries && symmetry < 0; ++s) {
            if (images[s].occupied != occupied) continue;
            if (!replayed) {
                for (int m = 0; m < moves; ++m) PlayBit(r, g.moves[m]);
                r.side = NextMover(r.disc, r.side);
                replayed = true;
            }
            if (r.side == side && r.disc[0] == images[s].disc[0] && r.disc[1] == images[s].disc[1]) symmetry = s;
        }
        if (symmetry < 0) continue;
        answer.games.push_back({static_cast<int>(k), symmetry});
        if (moves >= g.moveCount) continue;
        const Square move = SquareOfBit(TransformBit(InverseSymmetry(symmetry), g.moves[moves]));
        NextMoveStats& stats = next[move];
        stats.move = move;
        ++stats.games;
        if (g.blackDiscs > 32) ++stats.blackWins;
        else if (g.blackDiscs == 32) ++stats.draws;
        else ++stats.whiteWins;
        stats.blackDiscs += g.blackDiscs;
    }
    for (const auto& entry : next) answer.moves.push_back(entry.second);
    std::stable_sort(answer.moves.begin(), answer.moves.end(),
                     [](const NextMoveStats& a, const NextMoveStats& b) { return a.games > b.games; });
    std::stable_sort(answer.games.begin(), answer.games.end(), [&](const GameMatch& a, const GameMatch& b) {
        return db.games[static_cast<std::size_t>(a.game)].year > db.games[static_cast<std::size_t>(b.game)].year;
    });
    return answer;
}

bool DatabaseGameRecord(const GameDatabase& db, const GameMatch& match, int moves, RecordGame& out) {
    if (match.game < 0 || static_cast<std::size_t>(match.game) >= db.games.size()) return false;
    const DatabaseGame& g = db.games[static_cast<std::size_t>(match.game)];
    const int back = InverseSymmetry(match.symmetry);
    RecordGame game;
    // Turned by a symmetry that does not keep the initial position, the
    // game starts from the initial position with its colours exchanged.
    SetInitialPosition(game.position);
    for (const Square sq : {44, 45, 54, 55}) game.position.board[sq] = Empty;
    const Bits start[2] = {TransformBits(back, StartBlack), TransformBits(back, StartWhite)};
    for (int colour = 0; colour < 2; ++colour)
        for (Bits x = start[colour]; x; x &= x - 1)
            game.position.board[SquareOfBit(std::countr_zero(x))] = static_cast<std::uint8_t>(ColourOfSide(colour));
    game.kinds[0] = game.kinds[1] = -1;
    ResetHistory(game.record);
    int cursor = -1;
    for (int m = 0; m < g.moveCount; ++m) {
        if (m == moves) cursor = HistoryIndex(game.record);
        const Square square = SquareOfBit(TransformBit(back, g.moves[m]));
        Position& p = game.position;
        if (CountLegalMoves(p, p.sideToMove) == 0) {
            if (!AppendPly(game.record, Pass, FlipRecord{}, 0)) return false;
            p.sideToMove ^= 1;
        }
        FlipRecord flips{};
        if (p.board[square] != Empty || PlayMove(p, square, ColourOfSide(p.sideToMove), flips) == 0) return false;
        if (!AppendPly(game.record, square, flips, 0)) return false;
        p.sideToMove ^= 1;
    }
    if (cursor < 0) cursor = HistoryIndex(game.record);
    LastMoves last;
    while (HistoryIndex(game.record) > cursor) NavigateHistory(game.position, game.record, HistoryStep::Back, last);
    int black, white;
    RecountPosition(game.position, black, white);
    out = game;
    return true;
}

std::string NextMoveLine(const NextMoveStats& m) {
    char text[96];
    std::snprintf(text, sizeof text, "%s\t%d\t%d\t%d\t%d\t%.1f", SquareCode(m.move).c_str(), m.games, m.blackWins,
                  m.draws, m.whiteWins, m.games > 0 ? static_cast<double>(m.blackDiscs) / m.games : 0.0);
    return text;
}

std::string GameLine(const GameDatabase& db, const GameMatch& match) {
    const DatabaseGame& g = db.games[static_cast<std::size_t>(match.game)];
    auto name = [](const std::vector<std::string>& names, int index) -> std::string {
        return static_cast<std::size_t>(index) < names.size() ? names[static_cast<std::size_t>(index)] : "?";
    };
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "\t%d\t%d", g.blackDiscs, g.theoretical);
    return std::to_string(g.year) + "\t" + name(db.tournaments, g.tournament) + "\t" + name(db.players, g.black) +
           "\t" + name(db.players, g.white) + numbers;
}
