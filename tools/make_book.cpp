// Builds the shipped opening book (data/Tavix.STD) from the named openings
// kept in tools/book/opening-names.tsv, with Tavix's own midgame search.
//
//   tavix-make-book --names tools/book/opening-names.tsv --work DIR --out data/Tavix.STD
//                   [--threads 2] [--plies 10] [--named-extra 4] [--expand-depth 6]
//                   [--window 3] [--leaf-depth 8] [--named-depth 12] [--expand-only]
//
// The tree: every line starts with f5 (the book finds the other three first
// moves by symmetry). Every position before --plies moves, and every position
// on a named line together with the --named-extra moves after it, is
// expanded: each legal move is valued by a search of --expand-depth, and the
// moves within --window of the best (and the named move) are kept. Positions
// are merged across move orders and the board's symmetries, so each is
// searched once, but the file holds every move order as its own line.
// Each leaf is valued from Black's point of view by a search of --leaf-depth
// (--named-depth for the line that continues a named opening), weight set A,
// clamped to -127..127.
//
// Every search result is appended to DIR/searches.txt as soon as it is known,
// so a run that is stopped resumes where it was; DIR/progress.txt says how far
// it is. The output depends only on the options and the search, not on the
// number of threads or on interruptions.
//
// The shipped data/Tavix.STD is made with
//   --threads 2 --plies 13 --named-extra 4 --expand-depth 8 --window 6 --leaf-depth 8 --named-depth 12
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "book/book_symmetry.h"
#include "core/board.h"
#include "core/notation.h"
#include "core/position_text.h"
#include "engine/engine_state.h"
#include "engine/evaluation.h"
#include "engine/midgame.h"

namespace {

struct Options {
    std::string names;
    std::string work;
    std::string out;
    int threads = 2;
    int plies = 10;
    int namedExtra = 4;
    int expandDepth = 6;
    int window = 3;
    int leafDepth = 8;
    int namedDepth = 12;
    bool expandOnly = false;
};

constexpr int BookValueLimit = 127;

// ---- positions --------------------------------------------------------------

// The position after a move, with a pass already made when the side to move
// has no move but the other side has: every position in the tree has a move
// for its side to move, or ends the game.
struct Child {
    Square move;
    bool passAfter;  // the opponent then passes
};

// The text form of a position, the key of the search cache.
std::string Text(const Position& pos) { return PositionText(pos); }

// One key for a position and its images under the book's symmetries.
std::string CanonicalKey(const Position& pos) {
    std::string best;
    for (int i = 0; i < SymmetryCount; ++i) {
        std::string key(65, '-');
        for (int row = 1; row <= 8; ++row)
            for (int col = 1; col <= 8; ++col) {
                const std::uint8_t c = pos.board[TransformSquare(i, row * 10 + col)];
                key[(row - 1) * 8 + col - 1] = c == Black ? 'X' : c == White ? 'O' : '-';
            }
        key[64] = pos.sideToMove == 0 ? 'X' : 'O';
        if (i == 0 || key < best) best = key;
    }
    return best;
}

void FinishFields(Position& pos) {
    int black = 0, white = 0;
    RecountPosition(pos, black, white);
}

// Plays move for the side to move; passes for the next side when it cannot
// move but the other can. False when the move is not legal.
bool Advance(Position& pos, Square move, bool* passed) {
    FlipRecord flips;
    if (!IsPlayable(move) || pos.board[move] != Empty ||
        PlayMove(pos, move, ColourOfSide(pos.sideToMove), flips) == 0)
        return false;
    pos.sideToMove ^= 1;
    FinishFields(pos);
    *passed = false;
    if (pos.legalMoveCount == 0) {
        pos.sideToMove ^= 1;
        FinishFields(pos);
        *passed = true;
    }
    return true;
}

int Clamp(int v) { return v < -BookValueLimit ? -BookValueLimit : v > BookValueLimit ? BookValueLimit : v; }

// ---- searches -----------------------------------------------------------------

struct MoveValue {
    Square move;
    int value;  // for the side to move
};

// Every legal move of the side to move, valued by a search of depth plies
// with weight set A, from the mover's point of view.
std::vector<MoveValue> ValueMoves(EngineState& es, Position pos, int depth) {
    const bool swapped = pos.sideToMove == 1;
    if (swapped) SwapColours(pos);
    SelectWeights(es, 0);
    BuildEmptyList(es, pos);
    static thread_local ResultList results;
    static thread_local LineBuffer lines;
    SearchRoot(es, pos, depth, -FullWindow, FullWindow, MaxMoves, results, lines, false, {0, 0});
    std::vector<MoveValue> moves;
    for (int i = 0; results.entries[i].line; ++i)
        moves.push_back({results.entries[i].line[0], results.entries[i].value});
    return moves;
}

// The worth of a position from Black's point of view: a search of depth
// plies for the side to move, as the evaluation analysis values it.
int ValuePosition(EngineState& es, Position pos, int depth) {
    if (CountLegalMoves(pos, pos.sideToMove) < 0) return Clamp(pos.discDifference);
    const bool swapped = pos.sideToMove == 1;
    if (swapped) SwapColours(pos);
    SelectWeights(es, 0);
    BuildEmptyList(es, pos);
    Line line;
    const int v = SearchBlack(es, pos, depth, false, -FullWindow, FullWindow, line);
    return Clamp(swapped ? -v : v);
}

// The cache of search results: one line per result, appended as it is found.
//   E depth position move:value ...
//   V depth position value
class SearchStore {
public:
    bool Open(const std::string& path) {
        std::ifstream in(path);
        std::string line;
        while (std::getline(in, line)) {
            std::istringstream s(line);
            std::string kind, board, side;
            int depth = 0;
            if (!(s >> kind >> depth >> board >> side)) continue;
            const std::string key = std::to_string(depth) + " " + board + " " + side;
            if (kind == "V") {
                int v = 0;
                if (s >> v) values_[key] = v;
            } else if (kind == "E") {
                std::vector<MoveValue> moves;
                std::string item;
                bool complete = false;
                while (s >> item) {
                    if (item == ".") { complete = true; break; }
                    const auto colon = item.find(':');
                    if (colon == std::string::npos) break;
                    moves.push_back({ParseSquareCode(item.substr(0, colon).c_str()), std::atoi(item.c_str() + colon + 1)});
                }
                // A line cut short by an interruption is searched again.
                if (complete) expansions_[key] = moves;
            }
        }
        out_ = std::fopen(path.c_str(), "a");
        return out_ != nullptr;
    }

    bool FindValue(const std::string& key, int& v) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = values_.find(key);
        if (it == values_.end()) return false;
        v = it->second;
        return true;
    }
    bool FindMoves(const std::string& key, std::vector<MoveValue>& moves) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = expansions_.find(key);
        if (it == expansions_.end()) return false;
        moves = it->second;
        return true;
    }
    void AddValue(const std::string& key, int v) {
        std::lock_guard<std::mutex> lock(mutex_);
        values_[key] = v;
        std::fprintf(out_, "V %s %d\n", key.c_str(), v);
        std::fflush(out_);
    }
    void AddMoves(const std::string& key, const std::vector<MoveValue>& moves) {
        std::lock_guard<std::mutex> lock(mutex_);
        expansions_[key] = moves;
        std::fprintf(out_, "E %s", key.c_str());
        for (const MoveValue& m : moves) std::fprintf(out_, " %s:%d", SquareCode(m.move).c_str(), m.value);
        std::fprintf(out_, " .\n");
        std::fflush(out_);
    }

private:
    std::mutex mutex_;
    std::unordered_map<std::string, int> values_;
    std::unordered_map<std::string, std::vector<MoveValue>> expansions_;
    std::FILE* out_ = nullptr;
};

std::string CacheKey(int depth, const Position& pos) { return std::to_string(depth) + " " + Text(pos); }

// Runs work(i) for i in 0..count-1 on the given number of threads, writing
// the progress file every few seconds.
template <typename Work>
void RunParallel(int threads, std::size_t count, const std::string& what, const std::string& progressPath,
                 Work work) {
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t)
        pool.emplace_back([&] {
            EngineState es;
            for (std::size_t i; (i = next.fetch_add(1)) < count;) {
                work(es, i);
                done.fetch_add(1);
            }
        });
    std::thread reporter([&] {
        while (done.load() < count) {
            for (int k = 0; k < 50 && done.load() < count; ++k)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const std::size_t d = done.load();
            if (FILE* f = std::fopen(progressPath.c_str(), "w")) {
                std::fprintf(f, "%s: %zu of %zu done, %.0f s\n", what.c_str(), d, count, seconds);
                std::fclose(f);
            }
        }
    });
    for (auto& t : pool) t.join();
    reporter.join();
}

// ---- the named openings ---------------------------------------------------------

struct NamedLine {
    std::string name;
    std::vector<Square> moves;
};

bool ReadNames(const std::string& path, std::vector<NamedLine>& named) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        const auto tab = line.find('\t');
        if (tab == std::string::npos) {
            std::fprintf(stderr, "%s:%d: no tab\n", path.c_str(), number);
            return false;
        }
        NamedLine n;
        n.name = line.substr(0, tab);
        const std::string moves = line.substr(tab + 1);
        Position pos;
        SetInitialPosition(pos);
        for (std::size_t i = 0; i + 1 < moves.size(); i += 2) {
            bool passed = false;
            const Square sq = ParseSquareCode(moves.substr(i, 2).c_str());
            if (!Advance(pos, sq, &passed)) {
                std::fprintf(stderr, "%s:%d: %s is not legal\n", path.c_str(), number, moves.substr(i, 2).c_str());
                return false;
            }
            n.moves.push_back(sq);
        }
        if (n.moves.empty() || n.moves[0] != 56 || moves.size() % 2 != 0) {
            std::fprintf(stderr, "%s:%d: a named line starts with f5\n", path.c_str(), number);
            return false;
        }
        named.push_back(n);
    }
    return true;
}

// ---- the tree of positions --------------------------------------------------

struct Edge {
    Square move;
    bool passAfter;
    int value;    // the expansion search's value for the mover
    int target;   // node index
    // The position after the move is the target's position under this
    // symmetry (the tree keeps one orientation of each position).
    int turn;
};

struct Node {
    Position pos;
    int remaining = 0;  // moves still to expand below this position
    bool named = false; // on a named line
    bool expanded = false;
    std::vector<Edge> edges;
};

// The symmetry s with a = S_s(b): a holds at S_s(q) what b holds at q; -1
// when there is none. The symmetries commute and are their own inverses, so
// composing two is the exclusive or of their indices.
int FindSymmetry(const Position& a, const Position& b) {
    if (a.sideToMove != b.sideToMove) return -1;
    for (int s = 0; s < SymmetryCount; ++s) {
        bool same = true;
        for (Square q = 11; q <= 88 && same; ++q)
            if (b.board[q] != Border && a.board[TransformSquare(s, q)] != b.board[q]) same = false;
        if (same) return s;
    }
    return -1;
}

struct Tree {
    std::vector<Node> nodes;
    std::unordered_map<std::string, int> index;  // canonical key -> node

    // The node of pos, and in turn the symmetry that carries the node's
    // position onto pos.
    int Intern(const Position& pos, int remaining, bool named, int& turn) {
        const std::string key = CanonicalKey(pos);
        auto it = index.find(key);
        turn = 0;
        if (it != index.end()) {
            Node& n = nodes[it->second];
            n.remaining = std::max(n.remaining, remaining);
            n.named = n.named || named;
            turn = FindSymmetry(pos, n.pos);
            return it->second;
        }
        Node n;
        n.pos = pos;
        n.remaining = remaining;
        n.named = named;
        nodes.push_back(n);
        index.emplace(key, static_cast<int>(nodes.size()) - 1);
        return static_cast<int>(nodes.size()) - 1;
    }
};

// ---- writing --------------------------------------------------------------------

// Writes every move order of the tree as its own line, depth first, the
// moves of a position best first. The line that continues a named opening
// (its moves, then the best move at each position below) carries the name.
struct Writer {
    const Tree& tree;
    const std::vector<int>& value;  // per node, Black's point of view
    std::map<std::vector<Square>, std::vector<std::string>> namesByLine;
    std::vector<std::string> lines;
    std::vector<int> namedLeaves;  // nodes that end a named continuation
    long nodeCount = 0;
    int deepest = 0;
    std::vector<Square> path;

    // turn: the symmetry that carries the node's position onto the board the
    // path has reached. names: the openings whose continuation this is.
    void Walk(int node, int turn, const std::vector<std::string>& names) {
        const Node& n = tree.nodes[node];
        if (n.edges.empty()) {
            const int v = value[node];
            std::string text;
            for (Square sq : path) text += SquareCode(sq);
            text += ' ';
            text += v > 0 ? "+" + std::to_string(v) : std::to_string(v);
            if (!names.empty()) {
                text += " ;";
                for (std::size_t i = 0; i < names.size(); ++i) text += (i ? " > " : "") + names[i];
                // The loader keeps 255 characters of a line.
                if (text.size() > 255) text.resize(255);
                namedLeaves.push_back(node);
            }
            lines.push_back(text);
            deepest = std::max(deepest, static_cast<int>(path.size()));
            return;
        }
        for (std::size_t i = 0; i < n.edges.size(); ++i) {
            const Edge& e = n.edges[i];
            path.push_back(TransformSquare(turn, e.move));
            nodeCount += e.passAfter ? 2 : 1;
            std::vector<std::string> childNames;
            if (i == 0) childNames = names;
            auto it = namesByLine.find(path);
            if (it != namesByLine.end()) childNames.insert(childNames.end(), it->second.begin(), it->second.end());
            Walk(e.target, turn ^ e.turn, childNames);
            path.pop_back();
        }
    }
};

bool ParseOptions(int argc, char** argv, Options& opt) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto number = [&](int& field) {
            if (i + 1 >= argc) return false;
            field = std::atoi(argv[++i]);
            return true;
        };
        auto text = [&](std::string& field) {
            if (i + 1 >= argc) return false;
            field = argv[++i];
            return true;
        };
        bool ok = true;
        if (a == "--names") ok = text(opt.names);
        else if (a == "--work") ok = text(opt.work);
        else if (a == "--out") ok = text(opt.out);
        else if (a == "--threads") ok = number(opt.threads);
        else if (a == "--plies") ok = number(opt.plies);
        else if (a == "--named-extra") ok = number(opt.namedExtra);
        else if (a == "--expand-depth") ok = number(opt.expandDepth);
        else if (a == "--window") ok = number(opt.window);
        else if (a == "--leaf-depth") ok = number(opt.leafDepth);
        else if (a == "--named-depth") ok = number(opt.namedDepth);
        else if (a == "--expand-only") opt.expandOnly = true;
        else ok = false;
        if (!ok) {
            std::fprintf(stderr, "tavix-make-book: bad argument '%s'\n", a.c_str());
            return false;
        }
    }
    if (opt.names.empty() || opt.work.empty() || (opt.out.empty() && !opt.expandOnly) || opt.threads < 1) {
        std::fputs("usage: tavix-make-book --names FILE --work DIR --out FILE [options]\n", stderr);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options opt;
    if (!ParseOptions(argc, argv, opt)) return 2;
    std::vector<NamedLine> named;
    if (!ReadNames(opt.names, named)) return 1;
    SearchStore store;
    if (!store.Open(opt.work + "/searches.txt")) {
        std::fprintf(stderr, "tavix-make-book: cannot write in %s\n", opt.work.c_str());
        return 1;
    }
    const std::string progress = opt.work + "/progress.txt";
    const auto started = std::chrono::steady_clock::now();

    // The positions on the named lines, and the named moves from each.
    std::unordered_map<std::string, std::vector<std::pair<Position, Square>>> namedMoves;
    std::unordered_map<std::string, bool> namedPositions;
    for (const NamedLine& n : named) {
        Position pos;
        SetInitialPosition(pos);
        for (Square sq : n.moves) {
            namedMoves[CanonicalKey(pos)].push_back({pos, sq});
            bool passed = false;
            Advance(pos, sq, &passed);
            namedPositions[CanonicalKey(pos)] = true;
        }
    }

    Tree tree;
    Position start;
    SetInitialPosition(start);
    Position afterF5 = start;
    bool passed = false;
    Advance(afterF5, 56, &passed);
    int turn = 0;
    const int root = tree.Intern(start, 1, false, turn);
    const int first = tree.Intern(afterF5, std::max(opt.plies - 1, opt.namedExtra), true, turn);
    tree.nodes[root].expanded = true;
    tree.nodes[root].edges.push_back({56, false, 0, first, 0});

    // Level by level (a level is the number of discs), so that a position's
    // depth still to expand is final before it is expanded.
    std::vector<int> level = {first};
    for (int ply = 1; !level.empty(); ++ply) {
        std::vector<int> toExpand;
        for (int i : level)
            if (tree.nodes[i].remaining > 0 && CountLegalMoves(tree.nodes[i].pos, tree.nodes[i].pos.sideToMove) > 0)
                toExpand.push_back(i);
        std::vector<std::vector<MoveValue>> results(toExpand.size());
        RunParallel(opt.threads, toExpand.size(), "expanding ply " + std::to_string(ply), progress,
                    [&](EngineState& es, std::size_t k) {
                        const Position& pos = tree.nodes[toExpand[k]].pos;
                        const std::string key = CacheKey(opt.expandDepth, pos);
                        if (store.FindMoves(key, results[k])) return;
                        results[k] = ValueMoves(es, pos, opt.expandDepth);
                        store.AddMoves(key, results[k]);
                    });
        std::vector<int> nextLevel;
        std::unordered_map<int, bool> seen;
        for (std::size_t k = 0; k < toExpand.size(); ++k) {
            const int id = toExpand[k];
            const Position pos = tree.nodes[id].pos;
            const int remaining = tree.nodes[id].remaining;
            std::vector<MoveValue> moves = results[k];
            std::sort(moves.begin(), moves.end(), [](const MoveValue& a, const MoveValue& b) {
                return a.value != b.value ? a.value > b.value : a.move < b.move;
            });
            // The named moves from here, carried into this node's orientation.
            std::vector<Square> namedHere;
            auto nm = namedMoves.find(CanonicalKey(pos));
            if (nm != namedMoves.end())
                for (const auto& [namedPos, sq] : nm->second)
                    namedHere.push_back(TransformSquare(FindSymmetry(pos, namedPos), sq));
            const int best = moves.empty() ? 0 : moves[0].value;
            for (const MoveValue& m : moves) {
                const bool isNamed = std::find(namedHere.begin(), namedHere.end(), m.move) != namedHere.end();
                if (m.value < best - opt.window && !isNamed) continue;
                Position child = pos;
                bool pass = false;
                Advance(child, m.move, &pass);
                const bool childNamed = namedPositions.count(CanonicalKey(child)) > 0;
                const int childRemaining = std::max(remaining - 1, childNamed ? opt.namedExtra : 0);
                int childTurn = 0;
                const int target = tree.Intern(child, childRemaining, childNamed, childTurn);
                tree.nodes[id].edges.push_back({m.move, pass, m.value, target, childTurn});
                if (!seen[target]) {
                    seen[target] = true;
                    nextLevel.push_back(target);
                }
            }
            tree.nodes[id].expanded = true;
        }
        std::sort(nextLevel.begin(), nextLevel.end());
        level = nextLevel;
    }

    // Leaves: every position that was not expanded.
    std::vector<int> leaves;
    for (std::size_t i = 0; i < tree.nodes.size(); ++i)
        if (tree.nodes[i].edges.empty()) leaves.push_back(static_cast<int>(i));
    // Lines and nodes of the file, counted over the positions from the
    // deepest up (a node's index is above its parents').
    std::vector<double> linesBelow(tree.nodes.size(), 1.0), nodesBelow(tree.nodes.size(), 0.0);
    for (std::size_t i = tree.nodes.size(); i-- > 0;) {
        const Node& n = tree.nodes[i];
        if (n.edges.empty()) continue;
        linesBelow[i] = 0;
        for (const Edge& e : n.edges) {
            linesBelow[i] += linesBelow[e.target];
            nodesBelow[i] += (e.passAfter ? 2 : 1) + nodesBelow[e.target];
        }
    }
    std::printf("positions %zu, leaf positions %zu; the file: %.0f lines, %.0f nodes\n", tree.nodes.size(),
                leaves.size(), linesBelow[root], nodesBelow[root]);
    std::fflush(stdout);
    if (opt.expandOnly) return 0;

    // Which leaves end a named continuation: those are valued deeper.
    std::vector<int> value(tree.nodes.size(), 0);
    std::map<std::vector<Square>, std::vector<std::string>> namesByLine;
    for (const NamedLine& n : named) namesByLine[n.moves].push_back(n.name);
    Writer counter{tree, value, namesByLine, {}, {}, 0, 0, {}};
    counter.Walk(root, 0, {});
    std::vector<char> namedLeaf(tree.nodes.size(), 0);
    for (int id : counter.namedLeaves) namedLeaf[id] = 1;

    auto valueLeaves = [&](const std::vector<int>& ids, int depth, const std::string& what) {
        RunParallel(opt.threads, ids.size(), what, progress, [&](EngineState& es, std::size_t k) {
            const int id = ids[k];
            const Position& pos = tree.nodes[id].pos;
            const std::string key = CacheKey(depth, pos);
            int v = 0;
            if (!store.FindValue(key, v)) {
                v = ValuePosition(es, pos, depth);
                store.AddValue(key, v);
            }
            value[id] = v;
        });
    };
    std::vector<int> plainLeaves, deepLeaves;
    for (int id : leaves) (namedLeaf[id] ? deepLeaves : plainLeaves).push_back(id);
    valueLeaves(plainLeaves, opt.leafDepth, "valuing leaves at depth " + std::to_string(opt.leafDepth));
    valueLeaves(deepLeaves, opt.namedDepth, "valuing the named lines' leaves at depth " + std::to_string(opt.namedDepth));

    Writer writer{tree, value, namesByLine, {}, {}, 0, 0, {}};
    writer.Walk(root, 0, {});
    std::FILE* out = std::fopen(opt.out.c_str(), "wb");
    if (!out) {
        std::fprintf(stderr, "tavix-make-book: cannot write %s\n", opt.out.c_str());
        return 1;
    }
    const char* header[] = {
        "; Tavix opening book, made by tools/make_book.cpp from tools/book/opening-names.tsv.",
        "; Every line starts with f5; the book finds the other three first moves by symmetry.",
        "; A line that continues a named opening carries its name after the value.",
    };
    for (const char* h : header) std::fprintf(out, "%s\r\n", h);
    std::fprintf(out,
                 "; Tree: every position up to move %d and every position on a named line with the %d moves\r\n"
                 "; after it; at each, the moves within %d of the best by a search of depth %d (weight set A).\r\n",
                 opt.plies, opt.namedExtra, opt.window, opt.expandDepth);
    std::fprintf(out,
                 "; Values: Black's point of view, a search of depth %d at each leaf (%d at the end of a line\r\n"
                 "; that continues a named opening), weight set A, clamped to -127..127.\r\n",
                 opt.leafDepth, opt.namedDepth);
    std::fprintf(out, "; %zu lines, %ld nodes, deepest line %d moves.\r\n", writer.lines.size(), writer.nodeCount,
                 writer.deepest);
    for (const std::string& line : writer.lines) std::fprintf(out, "%s\r\n", line.c_str());
    std::fclose(out);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("wrote %s: %zu lines, %ld nodes, %.0f s\n", opt.out.c_str(), writer.lines.size(), writer.nodeCount,
                seconds);
    if (FILE* f = std::fopen(progress.c_str(), "w")) {
        std::fprintf(f, "done: %zu lines, %ld nodes, %.0f s\n", writer.lines.size(), writer.nodeCount, seconds);
        std::fclose(f);
    }
    return 0;
}
