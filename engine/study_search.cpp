#include "engine/study_search.h"

#include <array>
#include <atomic>
#include <bit>
#include <chrono>
#include <mutex>
#include <new>
#include <thread>
#include <type_traits>

#include "engine/disc_search.h"
#include "engine/endgame.h"
#include "engine/evaluation.h"
#include "engine/order_eval.h"
#include "engine/search_loops.h"

namespace {

// Beyond every value of the search, the evaluation's included.
constexpr int Infinity = 1 << 24;

// From this many empties down the small solver finishes the game.
constexpr int StudySmallEmpties = 6;

// Every square next to a square of x.
inline Bits NeighbourSquares(Bits x) {
    constexpr Bits NotA = 0xFEFEFEFEFEFEFEFEull, NotH = 0x7F7F7F7F7F7F7F7Full;
    return ((x << 1) & NotA) | ((x >> 1) & NotH) | (x << 8) | (x >> 8) | ((x << 9) & NotA) | ((x << 7) & NotH) |
           ((x >> 7) & NotA) | ((x >> 9) & NotH);
}
// From this many empties up a node first looks its children up in the table.
constexpr int EnhancedCutoffEmpties = 14;

// ---------------------------------------------------------------------------
// The table: buckets of two entries, each guarded by its own spin lock so
// that two threads never see half an entry.

struct TableEntry {
    std::atomic<std::uint32_t> lock{0};
    std::uint8_t tag = 0;    // kind << 1 | side to move (1 white); 0 empty
    std::uint8_t depth = 0;  // midgame depth, or empties when solving
    std::uint8_t move = 0;   // best move's bit + 1; 0 none
    std::uint8_t age = 0;    // the root call that wrote it last
    Bits black = 0, white = 0;
    std::int32_t lower = 0, upper = 0;
};

// A power of two, so that the table's entry count is one too.
static_assert(sizeof(TableEntry) == 32);

struct Table {
    TableEntry* entries = nullptr;
    std::size_t count = 0;  // a power of two, or 0 when nothing could be had
    std::uint8_t age = 0;
    std::mutex mutex;
};

Table table;
std::atomic<std::uint64_t> tableWrites{0};

constexpr std::size_t TableBytes = std::size_t{64} << 20;
constexpr std::size_t MinTableBytes = std::size_t{1} << 20;

void EnsureTable() {
    std::lock_guard<std::mutex> lock(table.mutex);
    if (table.entries) return;
    for (std::size_t bytes = TableBytes; bytes >= MinTableBytes; bytes /= 2) {
        const std::size_t n = bytes / sizeof(TableEntry);
        table.entries = new (std::nothrow) TableEntry[n];
        if (table.entries) {
            table.count = n;
            return;
        }
    }
}

class EntryLock {
public:
    explicit EntryLock(TableEntry& e) : entry_(e) {
        while (entry_.lock.exchange(1, std::memory_order_acquire))
            while (entry_.lock.load(std::memory_order_relaxed)) {
            }
    }
    ~EntryLock() { entry_.lock.store(0, std::memory_order_release); }
    EntryLock(const EntryLock&) = delete;
    EntryLock& operator=(const EntryLock&) = delete;

private:
    TableEntry& entry_;
};

TableEntry* BucketOf(const Discs& d, int tag) {
    std::uint64_t h = d.black * 0x9E3779B97F4A7C15ull ^ (d.white + static_cast<unsigned>(tag)) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return table.entries + (static_cast<std::size_t>(h) & (table.count - 2));
}

struct Bound {
    int lower, upper;
    int move;  // bit, or -1
};

inline bool Matches(const TableEntry& e, const Discs& d, int tag, int depth) {
    return e.tag == tag && e.depth == depth && e.black == d.black && e.white == d.white;
}

bool Probe(const Discs& d, int tag, int depth, Bound& out) {
    if (table.count == 0 || tag == 0) return false;
    TableEntry* bucket = BucketOf(d, tag);
    for (int k = 0; k < 2; ++k) {
        EntryLock lock(bucket[k]);
        if (Matches(bucket[k], d, tag, depth)) {
            out = {bucket[k].lower, bucket[k].upper, bucket[k].move - 1};
            return true;
        }
    }
    return false;
}

// Bounds of the true value: merged into the entry of the same key, or put in
// place of an entry of an older root call, else of the shallower one.
void Store(const Discs& d, int tag, int depth, int lower, int upper, int move) {
    if (table.count == 0 || tag == 0) return;
    tableWrites.fetch_add(1, std::memory_order_relaxed);
    TableEntry* bucket = BucketOf(d, tag);
    int victimDepth[2], victimAge[2];
    for (int k = 0; k < 2; ++k) {
        TableEntry& e = bucket[k];
        EntryLock lock(e);
        if (Matches(e, d, tag, depth)) {
            if (lower > e.lower) e.lower = lower;
            if (upper < e.upper) e.upper = upper;
            e.move = static_cast<std::uint8_t>(move + 1);
            e.age = table.age;
            return;
        }
        victimDepth[k] = e.tag == 0 ? -1 : e.depth;
        victimAge[k] = e.age;
    }
    int k = 0;
    const bool old0 = victimAge[0] != table.age, old1 = victimAge[1] != table.age;
    if (old0 != old1) k = old0 ? 0 : 1;
    else k = victimDepth[1] < victimDepth[0] ? 1 : 0;
    TableEntry& e = bucket[k];
    EntryLock lock(e);
    e.tag = static_cast<std::uint8_t>(tag);
    e.depth = static_cast<std::uint8_t>(depth);
    e.move = static_cast<std::uint8_t>(move + 1);
    e.age = table.age;
    e.black = d.black;
    e.white = d.white;
    e.lower = lower;
    e.upper = upper;
}

// ---------------------------------------------------------------------------
// The search below the root.

struct Study;
struct RootShare;

struct Candidate {
    int bit;
    int key;
};

// A node whose moves after the first are shared among threads: its owner
// publishes it, any idle thread takes moves from it, and the owner returns
// once every thread has left it. The fields below `next` change under the
// share's mutex.
struct SplitPoint {
    SplitPoint* parent = nullptr;  // the split point the owner works for, if any
    void (*work)(Study&, SplitPoint&) = nullptr;
    Discs d = {};
    int n = 0;
    int bits[MaxMoves] = {};
    int count = 0;
    int next = 0;     // the first move nobody has taken
    int done = 0;     // moves whose values are merged
    int workers = 0;  // threads inside, the owner included
    int a = 0, b = 0, best = 0, bestBit = -1;
    std::atomic<bool> cut{false};  // a move refuted the window: the rest is moot
};

struct Study {
    EngineState& es;
    int midKind;                        // 2 + weight set; 0: no table for the midgame
    const std::atomic<bool>* cancel;    // helpers: the root call is over
    RootShare* share = nullptr;         // with helper threads: where nodes are split
    SplitPoint* split = nullptr;        // the innermost split point this thread works for
};

constexpr int SolveKind = 1;

// The row of WeightSets in force, as a table kind; 0 when the weights are
// none of them.
int MidgameKind(const EngineState& es) {
    for (int set = 0; set < 3; ++set) {
        bool same = true;
        for (int k = 0; k < WeightCount; ++k) same = same && es.evalWeights[k] == WeightSets[set][k];
        if (same) return 2 + set;
    }
    return 0;
}

template <bool Solve>
inline int TagOf(const Study& s, int own) {
    const int kind = Solve ? SolveKind : s.midKind;
    return kind == 0 ? 0 : kind << 1 | (own == White ? 1 : 0);
}

inline bool MustStop(Study& s) {
    if (NodeMustStop(s.es)) return true;
    if (s.cancel && s.cancel->load(std::memory_order_relaxed)) s.es.stopped = true;
    // A refuted split point above: this thread's work there is moot.
    for (const SplitPoint* p = s.split; p; p = p->parent)
        if (p->cut.load(std::memory_order_relaxed)) s.es.stopped = true;
    return s.es.stopped;
}

// A stop of the whole search (the control word, or the root call over), as
// against the end of one split point's work.
inline bool SearchStopped(const Study& s) {
    return (s.es.control && s.es.control->request.load() == ControlStop) ||
           (s.cancel && s.cancel->load(std::memory_order_relaxed));
}

template <bool Solve, int Own>
bool SplitNode(Study& s, const Discs& d, int n, const Candidate* moves, int count, int& a, int& b, int& best,
               int& bestBit);
inline bool CanSplit(const Study& s, int n, bool solve);

inline int TerminalOf(const Discs& d) {
    const int diff = DiscDifferenceOf(d);
    return diff > 0 ? 935 + diff : diff < 0 ? diff - 935 : 0;
}

template <bool Solve, int Own>
int StudyNode(Study& s, const Discs& d, int n, bool passed, int alpha, int beta);

// The quadrant of a square, as one bit of four.
constexpr std::array<std::uint8_t, 64> QuadrantBits = [] {
    std::array<std::uint8_t, 64> t{};
    for (int bit = 0; bit < 64; ++bit) t[bit] = static_cast<std::uint8_t>(1u << (((bit >> 4) & 2) | ((bit >> 2) & 1)));
    return t;
}();
inline unsigned QuadrantBit(int bit) { return QuadrantBits[bit]; }

// QuadrantBit of every quadrant holding an odd number of the squares of x.
inline unsigned OddQuadrants(Bits x) {
    constexpr Bits Quadrant = 0x0F0F0F0Full;
    unsigned odd = 0;
    for (int q = 0; q < 4; ++q) {
        const Bits part = x & (Quadrant << ((q & 1) * 4 + (q & 2) * 16));
        odd |= static_cast<unsigned>(CountBits(part) & 1) << q;
    }
    return odd;
}

constexpr Bits CornerSquares = 0x8100000000000081ull;

// A move into a quadrant of odd empties, in the ordering of a solve.
constexpr int ParityKey = 2;

// From this many empties up a solve breaks the ties of mobility with the
// evaluation after each move, and from the second a search one move deeper.
constexpr int EvalOrderEmpties = 12;
constexpr int SearchOrderEmpties = 15;

// The guess's weight in that key. One unit a disc gave it too little say:
// two cut the nodes of the solves of #40-#49 by 7% (three by 4%), though
// the bench's solves of 14 to 18 empties took 2.5% more.
constexpr int GuessKeyPerDisc = 2;

// Midgame ordering: below depth 3 none (it would cost more than it saves);
// from depth 3 fastest first, as a solve orders; above FastestFirstDepth the
// value of a shallow search of ShallowDepth after each move as well, two key
// units a unit of value. Deeper searches, or searches from a lower depth,
// order better but cost more. Every move at depth 14 from move 20: 17.8 s
// with the searches alone from depth 3, 11.6 s with fastest first alone up to
// depth 8, 7.9 s with both above it.
constexpr int FastestFirstDepth = 8;
inline int ShallowDepth(int depth) { return depth <= 11 ? 1 : 2; }

// From this many empties down a solve keeps no table and no evaluation: the
// moves' flips are computed once, ordered fastest first (fewest replies,
// a corner reply counting double), and searched with a null window.
constexpr int ShallowSolveEmpties = 9;

// From this depth up a midgame node keeps its bounds in the table (every
// move at depth 13 from move 20: 2.75 s from depth 2, 2.57 s from 4).
constexpr int MidgameTableDepth = 4;

// The place of each square (by bit) in the engine's square order
// (SquareOrder: corners first, the squares next to them last).
const std::array<std::uint8_t, 64> SquareRank = [] {
    std::array<std::uint8_t, 64> t{};
    for (int i = 0; SquareOrder[i] != 0; ++i) t[BitOfSquare(SquareOrder[i])] = static_cast<std::uint8_t>(i);
    return t;
}();

// The legal moves, each with its key in the ordering of the node's kind
// (the table's move the greatest, equal keys in square order); the node
// takes them best first (TakeBest).
template <bool Solve, int Own>
int OrderedMoves(Study& s, const Discs& d, Bits legal, int n, int tableMove, Candidate (&list)[MaxMoves]) {
    constexpr int Opp = 3 - Own;
    int count = 0;
    for (Bits m = legal; m; m &= m - 1) list[count++] = {std::countr_zero(m), 0};
    if (count < 2) return count;
    const unsigned odd = Solve ? OddQuadrants(~(d.black | d.white)) : 0;
    for (int k = 0; k < count; ++k) {
        Candidate& c = list[k];
        const Discs next = PlayedDiscs<Own>(d, c.bit);
        // A solve's child looks itself up in the table first: its bucket is
        // fetched now, while the moves are ordered, and not when the child
        // needs it (a miss of the cache and of the address translation).
        // In the midgame this gained nothing measurable.
        if (Solve && n - 1 > ShallowSolveEmpties && table.count)
            __builtin_prefetch(BucketOf(next, TagOf<Solve>(s, Opp)));
        if (c.bit == tableMove) {
            c.key = Infinity;
            continue;
        }
        if (Solve || n >= 3) {
            // Fastest first: the fewer replies, the sooner a cut-off (a corner
            // reply counts double).
            const Bits replies = LegalMovesOf(OwnDiscs<Opp>(next), OwnDiscs<Own>(next));
            c.key = -CountBits(replies) * 16 - CountBits(replies & CornerSquares) * 16;
            // Fewer empty squares next to own discs: fewer replies later.
            c.key -= CountBits(NeighbourSquares(OwnDiscs<Own>(next)) & ~(next.black | next.white)) * 2;
        }
        if constexpr (Solve) {
            if (odd & QuadrantBit(c.bit)) c.key += ParityKey;
            // Far from the end, the evaluation after the move (or a search
            // one move deeper) breaks the ties of mobility, and so does the
            // patterns' guess of the final score, GuessKeyPerDisc key units
            // a disc.
            if (n >= EvalOrderEmpties) {
                const int v = StudyNode<false, Opp>(s, next, n >= SearchOrderEmpties ? 1 : 0, false, -Infinity,
                                                    Infinity);
                c.key += (Own == Black ? v : -v) / 2;
                c.key -= OrderEval(OwnDiscs<Opp>(next), OwnDiscs<Own>(next)) * GuessKeyPerDisc /
                         order_eval::WeightsPerDisc;
            }
        } else if (n > FastestFirstDepth) {
            const int v = StudyNode<false, Opp>(s, next, ShallowDepth(n), false, -Infinity, Infinity);
            c.key += (Own == Black ? v : -v) * 2;
        }
        if (s.es.stopped) return 0;
    }
    // Equal keys in square order.
    for (int k = 0; k < count; ++k) list[k].key = list[k].key * 64 + 63 - SquareRank[list[k].bit];
    return count;
}

// The best of list[k..count) moved to k, the moves between it and k one
// place on (the first of equal keys wins, so that the order is the one a
// stable sort gives). A node that cuts after one or two moves never sorts
// the rest.
inline void TakeBest(Candidate* list, int k, int count) {
    int best = k;
    for (int i = k + 1; i < count; ++i)
        if (list[i].key > list[best].key) best = i;
    const Candidate c = list[best];
    for (int i = best; i > k; --i) list[i] = list[i - 1];
    list[k] = c;
}

// From this many empties up a solve tries the cut-off by stable discs, and
// only where the mover's alpha is at least StabilityAlpha: with a lower
// alpha the opponent needs more stable discs than it commonly has.
constexpr int StabilityCutEmpties = 4;
constexpr int StabilityAlpha(int n) { return 2 * n - 2; }

// For each direction of a line, the squares whose whole line that way is
// occupied: a disc there can never be flipped along it.
struct FullLines {
    Bits horizontal, vertical, diagonal, antiDiagonal;
};

constexpr Bits FileA = 0x0101010101010101ull, FileH = 0x8080808080808080ull;
constexpr Bits Rank1 = 0x00000000000000FFull, Rank8 = 0xFF00000000000000ull;

// The squares from which 1, 2 and 4 steps of (file, rank) leave the board.
template <int DFile, int DRank>
struct EdgeWithin {
    static constexpr Bits Make(int steps) {
        Bits m = 0;
        for (int b = 0; b < 64; ++b) {
            const int file = b % 8 + DFile * steps, rank = b / 8 + DRank * steps;
            if (file < 0 || file > 7 || rank < 0 || rank > 7) m |= BitAt(b);
        }
        return m;
    }
    static constexpr Bits masks[3] = {Make(1), Make(2), Make(4)};
};

inline FullLines FullLinesOf(Bits occupied) {
    FullLines f;
    Bits h = occupied & (occupied >> 1) & (occupied >> 2) & (occupied >> 3);
    h &= h >> 4;
    f.horizontal = (h & FileA) * 0xFF;
    Bits v = occupied & (occupied >> 32);
    v &= v >> 16;
    v &= v >> 8;
    f.vertical = (v & 0xFF) * FileA;
    // Along a diagonal: occupied from the square to the edge each way, in
    // spans of 2, 4 and 8 squares.
    auto span = [&](int shift, const Bits (&beyond)[3]) {
        Bits x = occupied;
        for (int k = 0; k < 3; ++k) x &= (shift > 0 ? x >> (shift << k) : x << (-shift << k)) | beyond[k];
        return x;
    };
    f.diagonal = span(9, EdgeWithin<1, 1>::masks) & span(-9, EdgeWithin<-1, -1>::masks);
    f.antiDiagonal = span(7, EdgeWithin<-1, 1>::masks) & span(-7, EdgeWithin<1, -1>::masks);
    return f;
}

// Of an edge's eight places: own's discs that no sequence of moves on the
// edge flips (an edge disc only flips along its edge), by own's and the
// opponent's discs there, as stable[own << 8 | opp]. Either side may
// play any empty place, which only over-counts the moves. Filled before
// the program's main: each entry from the entries of one disc more.
struct EdgeStableTable {
    std::uint8_t stable[1 << 16] = {};
    EdgeStableTable() {
        // The discs flipped along the edge by a move of m at x against n.
        auto flips = [](int m, int n, int x) {
            int f = 0;
            for (int d : {-1, 1}) {
                int y = x + d, run = 0;
                while (y >= 0 && y < 8 && ((n >> y) & 1)) run |= 1 << y, y += d;
                if (y >= 0 && y < 8 && ((m >> y) & 1)) f |= run;
            }
            return f;
        };
        for (int empties = 0; empties <= 8; ++empties)
            for (int own = 0; own < 256; ++own)
                for (int opp = 0; opp < 256; ++opp) {
                    const int e = ~(own | opp) & 0xFF;
                    if ((own & opp) || std::popcount(static_cast<unsigned>(e)) != empties) continue;
                    int st = own;
                    for (int x = 0; x < 8 && st; ++x) {
                        if (!((e >> x) & 1)) continue;
                        const int byOwn = flips(own, opp, x), byOpp = flips(opp, own, x);
                        st &= stable[(own | byOwn | (1 << x)) << 8 | (opp & ~byOwn)];
                        st &= stable[(own & ~byOpp) << 8 | (opp | byOpp | (1 << x))];
                    }
                    stable[own << 8 | opp] = static_cast<std::uint8_t>(st);
                }
    }
};

const EdgeStableTable edgeStable;

// A file's eight places, bit r for rank r, as squares of file A (a table:
// the multiplication that spreads a byte of inner places carries at the ends).
struct FileSpreadTable {
    Bits file[256] = {};
    FileSpreadTable() {
        for (int x = 0; x < 256; ++x)
            for (int r = 0; r < 8; ++r)
                if ((x >> r) & 1) file[x] |= BitAt(8 * r);
    }
};

const FileSpreadTable fileSpread;

// Discs of p that no move can flip: the edge discs no move on their edge
// flips; then, along each of its four lines, a disc is safe where the line
// is full, or where it stands at the board's edge, or next to a disc of p
// already known to be safe; grown until nothing changes.
inline int StableDiscs(Bits p, Bits occupied) {
    const Bits o = occupied & ~p;
    auto rank = [&](int shift) {
        const unsigned own = static_cast<unsigned>(p >> shift) & 0xFF, opp = static_cast<unsigned>(o >> shift) & 0xFF;
        return static_cast<Bits>(edgeStable.stable[own << 8 | opp]) << shift;
    };
    auto file = [&](int shift) {
        auto gather = [&](Bits x) { return static_cast<unsigned>((((x >> shift) & FileA) * 0x0102040810204080ull) >> 56); };
        return fileSpread.file[edgeStable.stable[gather(p) << 8 | gather(o)]] << shift;
    };
    const FullLines f = FullLinesOf(occupied);
    constexpr Bits Border = FileA | FileH | Rank1 | Rank8;
    const Bits h = f.horizontal | FileA | FileH, v = f.vertical | Rank1 | Rank8;
    const Bits d9 = f.diagonal | Border, d7 = f.antiDiagonal | Border;
    Bits stable = rank(0) | rank(56) | file(0) | file(7) | (p & h & v & d9 & d7);
    for (Bits before = 0; stable != before;) {
        before = stable;
        const Bits alongH = h | ((stable << 1) & ~FileA) | ((stable >> 1) & ~FileH);
        const Bits alongV = v | (stable << 8) | (stable >> 8);
        const Bits along9 = d9 | ((stable << 9) & ~FileA) | ((stable >> 9) & ~FileH);
        const Bits along7 = d7 | ((stable << 7) & ~FileH) | ((stable >> 7) & ~FileA);
        stable |= p & alongH & alongV & along9 & along7;
    }
    return CountBits(stable);
}

// The bound from the opponent's discs o that no move can flip, for the side
// to move and its alpha: with s of them stable it ends at best 64 - 2s
// ahead. True when that refutes alpha (fail-soft, like StudyNode).
inline bool StableCut(Bits o, Bits occupied, int n, int alpha, int& bound) {
    // Only a high alpha, and enough of the opponent's discs, may give one.
    if (alpha < StabilityAlpha(n) || 64 - 2 * CountBits(o) > alpha) return false;
    bound = 64 - 2 * StableDiscs(o, occupied);
    return bound <= alpha;
}

// StableCut in black's values, with the window of a node.
template <int Own>
inline bool StabilityCut(const Discs& d, int n, int alpha, int beta, int& bound) {
    if (!StableCut(OwnDiscs<3 - Own>(d), d.black | d.white, n, Own == Black ? alpha : -beta, bound)) return false;
    if (Own == White) bound = -bound;
    return true;
}

// ---------------------------------------------------------------------------
// The last empties of a solve: values for the side to move (negamax on its
// discs p and the opponent's o), fail-soft, no table and no move list. The
// empties are tried in odd quadrants first: the side that plays last in a
// region usually gains there.

// One empty square, x: p plays it if it can, else the opponent, else the game
// ends with it empty. With 63 discs, p's count alone gives the difference.
inline int SolveLastOne(EngineState& es, Bits p, int x) {
    ++es.nodes;
    const int discs = CountBits(p);
    if (const int f = CountLastFlips(x, p); f > 0) return 2 * (discs + f + 1) - 64;
    if (const int f = CountLastFlips(x, ~(p | BitAt(x))); f > 0) return 2 * (discs - f) - 64;
    return 2 * discs - 63;
}

inline int SolveLastTwo(EngineState& es, Bits p, Bits o, int x, int y, int beta, bool passed) {
    ++es.nodes;
    int best = -Infinity;
    if (NeighboursOf(x) & o)
        if (const Bits flips = FlipsOf(x, p, o)) {
            best = -SolveLastOne(es, o ^ flips, y);
            if (best >= beta) return best;
        }
    if (NeighboursOf(y) & o)
        if (const Bits flips = FlipsOf(y, p, o)) {
            const int v = -SolveLastOne(es, o ^ flips, x);
            if (v > best) best = v;
        }
    if (best > -Infinity) return best;
    if (passed) return CountBits(p) - CountBits(o);
    return -SolveLastTwo(es, o, p, x, y, Infinity, true);
}

template <int N>
int SolveLastFew(EngineState& es, Bits p, Bits o, const int (&squares)[N], unsigned parity, int alpha, int beta,
                 bool passed) {
    if (NodeMustStop(es)) return 0;
    if constexpr (N >= StabilityCutEmpties) {
        if (int bound; StableCut(o, p | o, N, alpha, bound)) return bound;
    }
    int best = -Infinity;
    for (int odd = 1; odd >= 0; --odd)
        for (int k = 0; k < N; ++k) {
            const int x = squares[k];
            if (((parity & QuadrantBit(x)) != 0) != (odd == 1) || !(NeighboursOf(x) & o)) continue;
            const Bits flips = FlipsOf(x, p, o);
            if (!flips) continue;
            int rest[N - 1];
            for (int i = 0, j = 0; i < N; ++i)
                if (i != k) rest[j++] = squares[i];
            const Bits mine = p | flips | BitAt(x), theirs = o ^ flips;
            const int lo = best > alpha ? best : alpha;
            int v;
            if constexpr (N == 3) v = -SolveLastTwo(es, theirs, mine, rest[0], rest[1], -lo, false);
            else v = -SolveLastFew<N - 1>(es, theirs, mine, rest, parity ^ QuadrantBit(x), -beta, -lo, false);
            if (es.stopped) return 0;
            if (v > best) {
                best = v;
                if (v >= beta) return v;
            }
        }
    if (best > -Infinity) return best;
    if (passed) return CountBits(p) - CountBits(o);
    return -SolveLastFew<N>(es, o, p, squares, parity, -beta, -alpha, true);
}

// The value of d with at most StudySmallEmpties empty squares, black's
// (fail-soft like StudyNode).
template <int Own>
int SolveLast(EngineState& es, const Discs& d, bool passed, int alpha, int beta) {
    const Bits p = OwnDiscs<Own>(d), o = OwnDiscs<3 - Own>(d);
    int squares[StudySmallEmpties], n = 0;
    unsigned parity = 0;
    for (Bits empty = ~(p | o); empty && n < StudySmallEmpties; empty &= empty - 1) {
        squares[n] = std::countr_zero(empty);
        parity ^= QuadrantBit(squares[n++]);
    }
    // The mover's window and value; black's are the same or negated.
    const int lo = Own == Black ? alpha : -beta, hi = Own == Black ? beta : -alpha;
    auto few = [&](auto count) {
        constexpr int N = decltype(count)::value;
        int known[N];
        for (int i = 0; i < N; ++i) known[i] = squares[i];
        return SolveLastFew<N>(es, p, o, known, parity, lo, hi, passed);
    };
    int v;
    switch (n) {
        case 0: ++es.nodes; v = CountBits(p) - CountBits(o); break;
        case 1: {
            // Nobody may be able to play: then the game ends as it stands.
            const int x = squares[0];
            v = (FlipsOf(x, p, o) || FlipsOf(x, o, p)) ? SolveLastOne(es, p, x) : CountBits(p) - CountBits(o);
            break;
        }
        case 2: v = SolveLastTwo(es, p, o, squares[0], squares[1], hi, passed); break;
        case 3: v = few(std::integral_constant<int, 3>{}); break;
        case 4: v = few(std::integral_constant<int, 4>{}); break;
        case 5: v = few(std::integral_constant<int, 5>{}); break;
        default: v = few(std::integral_constant<int, StudySmallEmpties>{}); break;
    }
    return Own == Black ? v : -v;
}

// LegalMovesOf of two positions, on the two halves of a vector register
// where the processor has them.
#if defined(__SSE2__) && defined(__x86_64__)
using BitsTwo = Bits __attribute__((vector_size(16)));
inline void LegalMovesOfTwo(Bits ownA, Bits oppA, Bits ownB, Bits oppB, Bits& a, Bits& b) {
    const BitsTwo moves = bitboard_detail::LegalMovesIn(BitsTwo{ownA, ownB}, BitsTwo{oppA, oppB});
    a = moves[0];
    b = moves[1];
}
#else
inline void LegalMovesOfTwo(Bits ownA, Bits oppA, Bits ownB, Bits oppB, Bits& a, Bits& b) {
    a = LegalMovesOf(ownA, oppA);
    b = LegalMovesOf(ownB, oppB);
}
#endif

// Moves not yet known: no empty square has every bit set.
constexpr Bits UnknownMoves = ~Bits{0};

// Fail-soft, like StudyNode. odd: OddQuadrants of the empty squares. legal:
// the mover's moves when the caller has them (its ordering found them), else
// UnknownMoves.
template <int Own>
int SolveShallow(Study& s, const Discs& d, int n, bool passed, int alpha, int beta, unsigned odd,
                 Bits legal = UnknownMoves) {
    constexpr int Opp = 3 - Own;
    if (n <= StudySmallEmpties) return SolveLast<Own>(s.es, d, passed, alpha, beta);
    if (MustStop(s)) return 0;
    if (int bound; StabilityCut<Own>(d, n, alpha, beta, bound)) return bound;
    const Bits own = OwnDiscs<Own>(d), opp = OwnDiscs<Opp>(d);
    if (legal == UnknownMoves) legal = LegalMovesOf(own, opp);
    if (!legal) {
        if (passed) return DiscDifferenceOf(d);
        return SolveShallow<Opp>(s, d, n, true, alpha, beta, odd);
    }
    struct Move {
        Discs next;
        Bits replies;
        unsigned quadrant;
        int key;
    };
    Move list[MaxMoves];
    int count = 0;
    // Among moves of equal promise, one into a quadrant of odd empties first
    // (its player usually gets the region's last move). The replies are
    // found two moves at a time.
    auto insert = [&](int bit, Bits mine, Bits theirs, Bits replies) {
        const unsigned quadrant = QuadrantBit(bit);
        const int key = (CountBits(replies) + CountBits(replies & CornerSquares)) * 2 + ((odd & quadrant) ? 0 : 1);
        Move m{Own == Black ? Discs{mine, theirs} : Discs{theirs, mine}, replies, quadrant, key};
        int j = count++;
        for (; j > 0 && list[j - 1].key > m.key; --j) list[j] = list[j - 1];
        list[j] = m;
    };
    while (legal) {
        const int bit = std::countr_zero(legal);
        legal &= legal - 1;
        const Bits flips = FlipsOf(bit, own, opp);
        const Bits mine = own | flips | BitAt(bit), theirs = opp ^ flips;
        if (!legal) {
            insert(bit, mine, theirs, LegalMovesOf(theirs, mine));
            break;
        }
        const int bit2 = std::countr_zero(legal);
        legal &= legal - 1;
        const Bits flips2 = FlipsOf(bit2, own, opp);
        const Bits mine2 = own | flips2 | BitAt(bit2), theirs2 = opp ^ flips2;
        Bits replies, replies2;
        LegalMovesOfTwo(theirs, mine, theirs2, mine2, replies, replies2);
        insert(bit, mine, theirs, replies);
        insert(bit2, mine2, theirs2, replies2);
    }
    int best = Own == Black ? -Infinity : Infinity;
    int a = alpha, b = beta;
    for (int k = 0; k < count; ++k) {
        const Discs& next = list[k].next;
        auto child = [&](int lo, int hi) {
            return SolveShallow<Opp>(s, next, n - 1, false, lo, hi, odd ^ list[k].quadrant, list[k].replies);
        };
        int v;
        if (k == 0) {
            v = child(a, b);
        } else if (Own == Black) {
            v = child(a, a + 1);
            if (v > a && v < b && !s.es.stopped) v = child(a, b);
        } else {
            v = child(b - 1, b);
            if (v < b && v > a && !s.es.stopped) v = child(a, b);
        }
        if (s.es.stopped) return 0;
        if (Own == Black) {
            if (v > best) best = v;
            if (best > a) a = best;
        } else {
            if (v < best) best = v;
            if (best < b) b = best;
        }
        if (a >= b) break;
    }
    return best;
}

// Fail-soft: a result at or below alpha is an upper bound of the true value,
// at or above beta a lower bound, strictly between them the value itself.
// n is the depth of a midgame search or the empties of a solve.
template <bool Solve, int Own>
int StudyNode(Study& s, const Discs& d, int n, bool passed, int alpha, int beta) {
    constexpr int Opp = 3 - Own;
    EngineState& es = s.es;
    if constexpr (Solve) {
        if (n <= ShallowSolveEmpties)
            return SolveShallow<Own>(s, d, n, passed, alpha, beta, OddQuadrants(~(d.black | d.white)));
    }
    if (MustStop(s)) return 0;
    if constexpr (!Solve) {
        if (n == 0) return EvaluateDiscs(es, d, Own == Black ? 0 : 1);
    }
    if constexpr (Solve) {
        if (int bound; StabilityCut<Own>(d, n, alpha, beta, bound)) return bound;
    }
    const Bits own = OwnDiscs<Own>(d), opp = OwnDiscs<Opp>(d);
    const Bits legal = LegalMovesOf(own, opp);
    if (!legal) {
        if (passed) return Solve ? DiscDifferenceOf(d) : TerminalOf(d);
        return StudyNode<Solve, Opp>(s, d, n, true, alpha, beta);
    }
    int best = Own == Black ? -Infinity : Infinity;
    if (!Solve && n == 1) {
        // Leaves one move away: square order, no table.
        for (int i = 0; i < es.emptyCount; ++i) {
            const int bit = es.emptyBits[i];
            if (!(legal & BitAt(bit))) continue;
            const int v = StudyNode<false, Opp>(s, PlayedDiscs<Own>(d, bit), 0, false, alpha, beta);
            if (es.stopped) return 0;
            if (Own == Black ? v > best : v < best) best = v;
            if (Own == Black ? best >= beta : best <= alpha) break;
        }
        return best;
    }
    // Near a midgame search's leaves a table look-up costs more than the
    // subtree it might save.
    const int tag = !Solve && n < MidgameTableDepth ? 0 : TagOf<Solve>(s, Own);
    int tableMove = -1;
    if (Bound b; Probe(d, tag, n, b)) {
        if (b.lower >= beta) return b.lower;
        if (b.upper <= alpha) return b.upper;
        if (b.lower == b.upper) return b.lower;
        tableMove = b.move;
    }
    if (Solve && n >= EnhancedCutoffEmpties) {
        // A child already known to refute the window cuts before any search.
        for (int i = 0; i < es.emptyCount; ++i) {
            const int bit = es.emptyBits[i];
            if (!(legal & BitAt(bit))) continue;
            Bound c;
            if (!Probe(PlayedDiscs<Own>(d, bit), TagOf<Solve>(s, Opp), n - 1, c)) continue;
            if (Own == Black ? c.lower >= beta : c.upper <= alpha) return Own == Black ? c.lower : c.upper;
        }
    }
    Candidate list[MaxMoves];
    const int count = OrderedMoves<Solve, Own>(s, d, legal, n, tableMove, list);
    if (es.stopped) return 0;
    int a = alpha, b = beta, bestBit = -1;
    for (int k = 0; k < count; ++k) {
        // Young brothers wait: once the first move is searched, the rest may
        // be shared with idle threads.
        if (k == 1 && count > 2 && CanSplit(s, n, Solve)) {
            for (int i = 1; i < count; ++i) TakeBest(list, i, count);
            if (!SplitNode<Solve, Own>(s, d, n, list + 1, count - 1, a, b, best, bestBit)) return 0;
            break;
        }
        TakeBest(list, k, count);
        const Discs next = PlayedDiscs<Own>(d, list[k].bit);
        auto child = [&](int lo, int hi) { return StudyNode<Solve, Opp>(s, next, n - 1, false, lo, hi); };
        int v;
        if (k == 0) {
            v = child(a, b);
        } else if (Own == Black) {
            v = child(a, a + 1);
            if (v > a && v < b && !es.stopped) v = child(a, b);
        } else {
            v = child(b - 1, b);
            if (v < b && v > a && !es.stopped) v = child(a, b);
        }
        if (es.stopped) return 0;
        if (bestBit < 0 || (Own == Black ? v > best : v < best)) {
            best = v;
            bestBit = list[k].bit;
        }
        if (Own == Black) {
            if (best > a) a = best;
        } else if (best < b) {
            b = best;
        }
        if (a >= b) break;
    }
    int lower = -Infinity, upper = Infinity;
    if (best <= alpha) upper = best;
    else if (best >= beta) lower = best;
    else lower = upper = best;
    Store(d, tag, n, lower, upper, bestBit);
    return best;
}

// A line from d whose every position keeps the value within [lo, hi]: for
// an exact value (lo = hi) the line played out ends at that value. The mover
// who wants the value inside picks a move whose value stays inside (the
// table's move first); the other side's every move does.
template <bool Solve, int Own>
void ExtractLine(Study& s, const Discs& d, int n, int lo, int hi, Square* out) {
    constexpr int Opp = 3 - Own;
    out[0] = 0;
    if (s.es.stopped || (!Solve && n == 0)) return;
    const Bits own = OwnDiscs<Own>(d), opp = OwnDiscs<Opp>(d);
    const Bits legal = LegalMovesOf(own, opp);
    if (!legal) {
        if (LegalMovesOf(opp, own)) ExtractLine<Solve, Opp>(s, d, n, lo, hi, out);
        return;
    }
    auto keepsValue = [&](int bit) {
        const Discs next = PlayedDiscs<Own>(d, bit);
        if (Own == Black) return lo <= -Infinity || StudyNode<Solve, Opp>(s, next, n - 1, false, lo - 1, lo) >= lo;
        return hi >= Infinity || StudyNode<Solve, Opp>(s, next, n - 1, false, hi, hi + 1) <= hi;
    };
    int pick = -1;
    if (Bound b; Probe(d, TagOf<Solve>(s, Own), n, b) && b.move >= 0 && (legal & BitAt(b.move)) &&
                 keepsValue(b.move))
        pick = b.move;
    for (int i = 0; pick < 0 && i < s.es.emptyCount && !s.es.stopped; ++i) {
        const int bit = s.es.emptyBits[i];
        if ((legal & BitAt(bit)) && keepsValue(bit)) pick = bit;
    }
    if (pick < 0 || s.es.stopped) return;
    out[0] = SquareOfBit(pick);
    ExtractLine<Solve, Opp>(s, PlayedDiscs<Own>(d, pick), n - 1, lo, hi, out + 1);
}

// ---------------------------------------------------------------------------
// The root: helpers search root moves ahead of the job's thread with its
// current window; their results land in the table, where the job's own
// search of each move finds them.

constexpr int MaxThreads = 8;
constexpr int MaxOpenSplits = 64;
std::atomic<int> threadSetting{0};

enum : int { MoveFree = 0, MoveTaken = 1, MoveDone = 2 };

struct RootShare {
    const MoveList* list = nullptr;
    int count = 0;
    Discs root = {};
    int n = 0;  // depth or empties below the root move
    bool solve = false;
    int midKind = 0;
    int firstAlpha = 0;    // the window's alpha at the first root move
    bool everyMove = false;  // every root move is kept: alpha never rises
    std::atomic<int> state[MaxMoves];
    std::atomic<int> current{0};
    std::atomic<int> alpha{0}, beta{0};
    std::atomic<bool> cancel{false};
    std::atomic<std::uint64_t> nodes{0};
    std::atomic<int> guess{0};  // the last exact value of a root move
    EngineState helperStates[MaxThreads - 1];
    // Split points open to idle threads; the mutex also guards their moves
    // and bounds.
    std::mutex splitMutex;
    SplitPoint* open[MaxOpenSplits] = {};
    int openCount = 0;
    std::atomic<int> idle{0};  // threads looking for work
};

// From this many empties (solve) or this depth (midgame) up a node may be
// split: below, a move's search is too short to be worth sharing.
constexpr int SplitEmpties = 14;
constexpr int SplitDepth = 6;

inline bool CanSplit(const Study& s, int n, bool solve) {
    return s.share && n >= (solve ? SplitEmpties : SplitDepth) && s.share->idle.load(std::memory_order_relaxed) > 0;
}

// Counts a thread among the idle ones while it has nothing to do.
class IdleMark {
public:
    explicit IdleMark(RootShare& r) : share_(r) {}
    ~IdleMark() { Set(false); }
    IdleMark(const IdleMark&) = delete;
    IdleMark& operator=(const IdleMark&) = delete;
    // Whether the thread was idle already.
    bool Set(bool idle) {
        const bool was = idle_;
        if (idle != idle_) share_.idle.fetch_add(idle ? 1 : -1);
        idle_ = idle;
        return was;
    }

private:
    RootShare& share_;
    bool idle_ = false;
};

// An idle thread's wait for work: it gives way to other threads at first
// (a sleep may last a whole tick of the system's clock), and sleeps once it
// has found nothing for a while.
inline void PauseIdle(std::chrono::steady_clock::time_point idleSince) {
    if (std::chrono::steady_clock::now() - idleSince < std::chrono::milliseconds(2)) std::this_thread::yield();
    else std::this_thread::sleep_for(std::chrono::microseconds(50));
}

// A split point with a move left, for a thread with nothing to do; within:
// only one below that split point (its owner waits for its own helpers and
// may only help them). The split point counts the thread in.
SplitPoint* JoinSplit(RootShare& r, const SplitPoint* within) {
    std::lock_guard<std::mutex> lock(r.splitMutex);
    for (int i = 0; i < r.openCount; ++i) {
        SplitPoint* sp = r.open[i];
        if (sp->cut.load() || sp->next >= sp->count) continue;
        bool below = within == nullptr;
        for (const SplitPoint* p = sp->parent; p && !below; p = p->parent) below = p == within;
        if (!below) continue;
        ++sp->workers;
        return sp;
    }
    return nullptr;
}

// A thread that joined sp searches its moves; a cut there (or above) ends its
// part without a stop of its own.
void WorkAt(Study& s, SplitPoint& sp) {
    sp.work(s, sp);
    if (s.es.stopped && !SearchStopped(s)) s.es.stopped = false;
    std::lock_guard<std::mutex> lock(s.share->splitMutex);
    --sp.workers;
}

// Every thread takes the next move of sp and merges its value: the moves
// after the first, searched as the node's own loop would (a null window, the
// whole window again for a move that may be better).
template <bool Solve, int Own>
void SearchSplitMoves(Study& s, SplitPoint& sp) {
    constexpr int Opp = 3 - Own;
    RootShare& r = *s.share;
    EngineState& es = s.es;
    SplitPoint* const outer = s.split;
    s.split = &sp;
    for (;;) {
        int k, a, b;
        {
            std::lock_guard<std::mutex> lock(r.splitMutex);
            if (sp.cut.load() || sp.next >= sp.count) break;
            k = sp.next++;
            a = sp.a;
            b = sp.b;
        }
        const int bit = sp.bits[k];
        const Discs next = PlayedDiscs<Own>(sp.d, bit);
        auto child = [&](int lo, int hi) { return StudyNode<Solve, Opp>(s, next, sp.n - 1, false, lo, hi); };
        // A move that may be better is searched again in the window of now:
        // a move another thread finished meanwhile may have narrowed it.
        auto windowOfNow = [&] {
            std::lock_guard<std::mutex> lock(r.splitMutex);
            a = sp.a;
            b = sp.b;
        };
        int v;
        if (Own == Black) {
            v = child(a, a + 1);
            if (v > a && v < b && !es.stopped) {
                windowOfNow();
                if (v - 1 > a) a = v - 1;
                if (a < b) v = child(a, b);
            }
        } else {
            v = child(b - 1, b);
            if (v < b && v > a && !es.stopped) {
                windowOfNow();
                if (v + 1 < b) b = v + 1;
                if (a < b) v = child(a, b);
            }
        }
        if (es.stopped) break;
        std::lock_guard<std::mutex> lock(r.splitMutex);
        ++sp.done;
        if (Own == Black ? v > sp.best : v < sp.best) {
            sp.best = v;
            sp.bestBit = bit;
        }
        if (Own == Black) {
            if (sp.best > sp.a) sp.a = sp.best;
        } else if (sp.best < sp.b) {
            sp.b = sp.best;
        }
        if (sp.a >= sp.b) sp.cut.store(true);
    }
    s.split = outer;
}

// The moves after the first of a node, shared: the node's loop state in,
// its result out. False when the search must unwind (a stop, or a cut above).
template <bool Solve, int Own>
bool SplitNode(Study& s, const Discs& d, int n, const Candidate* moves, int count, int& a, int& b, int& best,
               int& bestBit) {
    RootShare& r = *s.share;
    EngineState& es = s.es;
    SplitPoint sp;
    sp.parent = s.split;
    sp.work = SearchSplitMoves<Solve, Own>;
    sp.d = d;
    sp.n = n;
    for (int k = 0; k < count; ++k) sp.bits[k] = moves[k].bit;
    sp.count = count;
    sp.a = a;
    sp.b = b;
    sp.best = best;
    sp.bestBit = bestBit;
    sp.workers = 1;
    {
        std::lock_guard<std::mutex> lock(r.splitMutex);
        if (r.openCount < MaxOpenSplits) r.open[r.openCount++] = &sp;
    }
    SearchSplitMoves<Solve, Own>(s, sp);
    // A move cut short by another thread's refutation: the split point has
    // its bound all the same.
    if (es.stopped && sp.cut.load() && !SearchStopped(s)) es.stopped = false;
    {
        std::lock_guard<std::mutex> lock(r.splitMutex);
        for (int i = 0; i < r.openCount; ++i)
            if (r.open[i] == &sp) r.open[i--] = r.open[--r.openCount];
        --sp.workers;
    }
    // The split point lives on this stack: wait for every thread to leave it,
    // helping with the split points below it meanwhile.
    IdleMark idle(r);
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(r.splitMutex);
            if (sp.workers == 0) break;
        }
        if (!es.stopped) {
            if (SplitPoint* below = JoinSplit(r, &sp)) {
                idle.Set(false);
                WorkAt(s, *below);
                continue;
            }
            idle.Set(true);
        }
        if (es.control && es.control->request.load() != ControlRun && CheckControl(*es.control)) es.stopped = true;
        if (es.stopped) idle.Set(false);
        std::this_thread::yield();
    }
    idle.Set(false);
    if (es.stopped) return false;
    if (!sp.cut.load() && sp.done < sp.count) {
        // A helper's move was cut short from above: so is this node.
        es.stopped = true;
        return false;
    }
    a = sp.a;
    b = sp.b;
    best = sp.best;
    bestBit = sp.bestBit;
    return true;
}

// Half the width of the first window of a root move's exact value, and the
// width of the first window beyond it (the later ones twice as wide).
constexpr int AspirationWidth = 3;
constexpr int AspirationStep = 4;

int SearchRootMove(Study& s, const RootShare& r, int index, int alpha, int beta) {
    const Discs next = PlayedDiscs<Black>(r.root, BitOfCell(r.list->moves[index].square));
    return r.solve ? StudyNode<true, White>(s, next, r.n, false, alpha, beta)
                   : StudyNode<false, White>(s, next, r.n, false, alpha, beta);
}

// A root move's value in (alpha, beta), fail-soft like SearchRootMove. An
// exact value in a wide window: first a narrow window around the guess (the
// last value found: the moves come best first, their values close
// together), then, should the value fall outside, narrow windows beyond it,
// one after another: bounds short of the value are proved cheaply, and a
// value in a narrow window costs a fraction of one in a wide window (FFO
// #48's first move: 0.37 G nodes in a window of 3 values, 1.25 G in one of
// 24).
int ExactRootValue(Study& s, RootShare& r, int index, int alpha, int beta, int last) {
    if (!r.solve || beta - alpha <= 2 * AspirationWidth) return SearchRootMove(s, r, index, alpha, beta);
    // The guess inside the window: else the narrow window would be empty.
    const int guess = last < alpha ? alpha : last > beta ? beta : last;
    int lo = guess - AspirationWidth > alpha ? guess - AspirationWidth : alpha;
    int hi = guess + AspirationWidth < beta ? guess + AspirationWidth : beta;
    int v = SearchRootMove(s, r, index, lo, hi);
    for (int width = AspirationStep; !s.es.stopped; width = 2 * AspirationStep) {
        if (v <= lo && lo > alpha) {
            hi = v + 1;
            lo = v - width > alpha ? v - width : alpha;
        } else if (v >= hi && hi < beta) {
            lo = v - 1;
            hi = v + width < beta ? v + width : beta;
        } else {
            break;
        }
        v = SearchRootMove(s, r, index, lo, hi);
    }
    if (v > alpha && v < beta && !s.es.stopped) r.guess.store(v);
    return v;
}

// The value of a root move in the window: once the root's alpha has risen,
// most moves only have to be shown no better, which a null-window search
// does; only a better move is searched with the whole window. A move
// searched ahead of the root loop stops there: a better move before it may
// still raise alpha, and the root loop's own search finds the bound.
int RootMoveValue(Study& s, RootShare& r, int index, int alpha, int beta, bool ahead = false) {
    if (alpha != r.firstAlpha) {
        const int v = SearchRootMove(s, r, index, alpha, alpha + 1);
        if (v <= alpha || ahead || s.es.stopped) return v;
        // The value is v or more: the exact value lies above v - 1.
        alpha = v - 1;
    }
    return ExactRootValue(s, r, index, alpha, beta, r.guess.load());
}

// The best root move of a solve that keeps only the best. The root loop
// keeps the first of the moves of the greatest value (clamped to its
// window), and a move's exact value is needed only for that move: of every
// other a bound that keeps the loop's choice is enough. In the loop's order
// the first move gets its exact value and each later one is proved no
// better than the best so far, which costs most where the values lie close
// together below the best (FFO #47: the first move's exact -26 and the
// proofs of the moves near it took 0.95 G of 1.04 G nodes; the best, sixth,
// is +4). So the moves are tested, in the loop's order, against a
// threshold that starts at a guess and falls while no move rises above it:
// a move far below the threshold is refuted cheaply. The first move above
// it gets its exact value, and the moves after it are tested against the
// best so far, as in the loop.
struct BestRootMove {
    int index = 0;
    int value = 0;
    int upper[MaxMoves];  // of every other move, a bound no greater than value
};

bool FindBestRootMove(Study& s, RootShare& r, int lo, int hi, bool display, BestRootMove& out) {
    EngineState& es = s.es;
    int* upper = out.upper;
    for (int k = 0; k < r.count; ++k) upper[k] = Infinity;
    // v: the first move's result above the threshold, a lower bound of its value.
    auto test = [&](int k, int threshold, int& v) {
        if (display) ShowSearchMark(es, r.list->moves[k].square);
        v = SearchRootMove(s, r, k, threshold, threshold + 1);
        if (v <= threshold) upper[k] = v;
        return v > threshold;
    };
    const int guess = r.guess.load();
    int threshold = guess < lo ? lo : guess >= hi ? hi - 1 : guess;
    int best = -1, v = 0;
    for (int step = AspirationStep; best < 0; step = 2 * AspirationStep) {
        for (int k = 0; k < r.count && best < 0; ++k) {
            if (upper[k] <= threshold) continue;
            if (test(k, threshold, v)) best = k;
            if (es.stopped) return false;
        }
        if (best >= 0) break;
        if (threshold <= lo) {
            // Every move at or below lo: the loop keeps the first.
            out.index = 0;
            out.value = lo;
            return true;
        }
        threshold = threshold - step > lo ? threshold - step : lo;
    }
    auto exact = [&](int k, int bound) {
        const int value = ExactRootValue(s, r, k, bound - 1, hi, r.guess.load());
        const int clamped = value < lo ? lo : value > hi ? hi : value;
        if (display && !es.stopped) {
            Line shown;
            shown.squares[0] = r.list->moves[k].square;
            const Discs next = PlayedDiscs<Black>(r.root, BitOfCell(shown.squares[0]));
            ExtractLine<true, White>(s, next, r.n, clamped > lo ? clamped : -Infinity,
                                     clamped < hi ? clamped : Infinity, shown.squares + 1);
            if (!es.stopped) ShowBestLine(es, shown.squares, clamped);
        }
        return clamped;
    };
    int value = exact(best, v);
    for (int k = best + 1; k < r.count && value < hi && !es.stopped; ++k) {
        if (upper[k] <= value || !test(k, value, v)) continue;
        if (es.stopped) break;
        upper[best] = value;
        best = k;
        value = exact(k, v);
    }
    if (es.stopped) return false;
    out.index = best;
    out.value = value;
    return true;
}

// The first root move after from that nobody has taken yet, now taken; -1
// when there is none.
int TakeMove(RootShare& r, int from) {
    for (int j = from; j < r.count; ++j) {
        int expected = MoveFree;
        if (r.state[j].compare_exchange_strong(expected, MoveTaken)) return j;
    }
    return -1;
}

void RunHelper(RootShare& r, EngineState& es) {
    if (es.control) JoinWorker(*es.control);
    Study s{es, r.midKind, &r.cancel, &r};
    IdleMark idle(r);
    auto idleSince = std::chrono::steady_clock::now();
    for (;;) {
        if (r.cancel.load() || es.stopped) break;
        // A root move ahead is searched with the root's window of now, which
        // a better move before it makes stale: only in a list of every move,
        // where the window never moves, are root moves taken ahead (first);
        // else the root moves are the job's thread's, and helpers share
        // the split points below them.
        if (r.everyMove)
            if (const int j = TakeMove(r, r.current.load() + 1); j >= 0) {
                idle.Set(false);
                RootMoveValue(s, r, j, r.alpha.load(), r.beta.load(), true);
                if (es.stopped) break;
                r.state[j].store(MoveDone);
                continue;
            }
        if (SplitPoint* sp = JoinSplit(r, nullptr)) {
            idle.Set(false);
            WorkAt(s, *sp);
            continue;
        }
        if (!idle.Set(true)) idleSince = std::chrono::steady_clock::now();
        if (es.control && es.control->request.load() != ControlRun && CheckControl(*es.control)) break;
        PauseIdle(idleSince);
    }
    idle.Set(false);
    r.nodes.fetch_add(es.nodes);
    if (es.control) LeaveWorker(*es.control);
}

class Helpers {
public:
    Helpers(RootShare& r, EngineState& es) : share_(r), es_(es) {}
    ~Helpers() { Finish(); }
    Helpers(const Helpers&) = delete;
    Helpers& operator=(const Helpers&) = delete;

    // At the first root move, once the root's order is known.
    void Start(int threads) {
        if (started_) return;
        started_ = true;
        for (int k = 0; k + 1 < threads && k < MaxThreads - 1; ++k) {
            EngineState& h = share_.helperStates[k];
            h = es_;
            h.display = nullptr;
            h.nodes = 0;
            h.stopped = false;
            try {
                threads_[running_] = std::thread(RunHelper, std::ref(share_), std::ref(h));
                ++running_;
            } catch (...) {
                break;  // fewer helpers; the search does not depend on them
            }
        }
    }
    void Finish() {
        share_.cancel.store(true);
        if (running_ == 0) return;
        // While it waits for the helpers this thread searches nothing: a
        // pause must not wait for it to park (a helper may be parked and
        // waiting for the resume), and it parks on its way back if one is on.
        if (es_.control) LeaveWorker(*es_.control);
        for (int k = 0; k < running_; ++k) threads_[k].join();
        if (es_.control) JoinWorker(*es_.control);
        running_ = 0;
        es_.nodes += share_.nodes.exchange(0);
    }

private:
    RootShare& share_;
    EngineState& es_;
    std::thread threads_[MaxThreads - 1];
    int running_ = 0;
    bool started_ = false;
};

// The job's thread at root move index: while a helper is searching it, help
// with the moves after it (or wait, answering the control word); then its own
// search, which finds the helper's result in the table. True unless stopped.
bool AwaitHelpers(Study& s, RootShare& r, int index, int alpha, int beta) {
    r.alpha.store(alpha);
    r.beta.store(beta);
    r.current.store(index);
    int expected = MoveFree;
    if (r.state[index].compare_exchange_strong(expected, MoveTaken)) return true;
    EngineState& es = s.es;
    IdleMark idle(r);
    auto idleSince = std::chrono::steady_clock::now();
    while (r.state[index].load() != MoveDone) {
        // The moves after it only where every move is kept: else the window
        // it is searched in may be stale by the time it ends, and its split
        // points are better help.
        if (const int j = r.everyMove ? TakeMove(r, index + 1) : -1; j >= 0) {
            idle.Set(false);
            RootMoveValue(s, r, j, alpha, beta, true);
            if (es.stopped) return false;
            r.state[j].store(MoveDone);
            continue;
        }
        if (SplitPoint* sp = JoinSplit(r, nullptr)) {
            idle.Set(false);
            WorkAt(s, *sp);
            if (es.stopped) return false;
            continue;
        }
        if (!idle.Set(true)) idleSince = std::chrono::steady_clock::now();
        if (es.control && es.control->request.load() != ControlRun && CheckControl(*es.control)) {
            es.stopped = true;
            return false;
        }
        PauseIdle(idleSince);
    }
    return true;
}

template <typename OrderPass>
void StudyRoot(EngineState& es, Position& pos, bool solve, int n, bool ordered, OrderPass order, int alpha,
               int beta, int slots, int slotSize, ResultList& results, LineBuffer& lines, bool display,
               Pacing pacing) {
    EnsureTable();
    ++table.age;
    const Discs d = DiscsOf(pos);
    MoveList list;
    const int count = GenerateDiscMoves<Black>(es, d, list);
    RootShare share;
    const int threads = StudyThreads();
    Study s{es, MidgameKind(es), nullptr, threads > 1 ? &share : nullptr};
    share.list = &list;
    share.count = count;
    share.root = d;
    share.n = n;
    share.solve = solve;
    share.midKind = s.midKind;
    share.firstAlpha = alpha;
    share.everyMove = slots >= count || slots >= MaxMoves;
    for (auto& st : share.state) st.store(MoveFree);
    Helpers helpers(share, es);
    // A solve that keeps only the best: the best move is found first, and
    // the loop's questions answered from what that search proved.
    const bool bestOnly = solve && slots == 1 && count >= 2;
    BestRootMove found;
    bool foundBest = false;
    RunRoot(
        es, pos.legalMoveCount, list, count, ordered, order, alpha, beta, slots, slotSize, results, lines, display,
        pacing, [&](Square sq, int a, int b, Line& child) {
            int index = 0;
            while (list.moves[index].square != sq) ++index;
            if (bestOnly) {
                if (!foundBest) {
                    if (threads > 1) helpers.Start(threads);
                    if (!FindBestRootMove(s, share, a, b, display, found)) return 0;
                    foundBest = true;
                }
                if (index != found.index) {
                    child.squares[0] = 0;
                    return found.upper[index];
                }
            } else if (threads > 1) {
                share.alpha.store(a);
                share.beta.store(b);
                share.current.store(index);
                helpers.Start(threads);
                if (!AwaitHelpers(s, share, index, a, b)) return 0;
            }
            const int v = bestOnly ? found.value : RootMoveValue(s, share, index, a, b);
            if (es.stopped) return 0;
            // The line keeps what the value says: exact inside the window,
            // a bound at its edge.
            const int lo = v > a ? v : -Infinity, hi = v < b ? v : Infinity;
            const Discs next = PlayedDiscs<Black>(d, BitOfCell(sq));
            if (solve) ExtractLine<true, White>(s, next, n, lo, hi, child.squares);
            else ExtractLine<false, White>(s, next, n, lo, hi, child.squares);
            return v;
        });
}

}  // namespace

void StudySearchRoot(EngineState& es, Position& pos, int depth, int alpha, int beta, int slots,
                     ResultList& results, LineBuffer& lines, bool display, Pacing pacing) {
    if (depth < 1) depth = 1;
    const Discs d = DiscsOf(pos);
    StudyRoot(
        es, pos, false, depth - 1, depth > 3,
        [&](MoveList& l) { OrderDiscMoves<Black>(es, d, RootOrderDepth(depth), -FullWindow, FullWindow, l, display); },
        alpha, beta, slots, depth + 1, results, lines, display, pacing);
}

void StudySolveRoot(EngineState& es, Position& pos, int empties, int lo, int hi, int orderDepth, int orderLo,
                    int orderHi, int slots, ResultList& results, LineBuffer& lines, bool display,
                    Pacing pacing) {
    const Discs d = DiscsOf(pos);
    // Without an ordering instruction the default rule orders the root.
    const int depth = orderDepth != 0 ? orderDepth : DefaultOrderDepth(empties);
    const int oLo = orderDepth != 0 ? orderLo : -FullWindow, oHi = orderDepth != 0 ? orderHi : FullWindow;
    StudyRoot(
        es, pos, true, empties - 1, orderDepth != 0 || empties > SmallSolveEmpties,
        [&](MoveList& l) { OrderDiscMoves<Black>(es, d, depth, oLo, oHi, l, display); }, lo, hi, slots,
        empties + 1, results, lines, display, pacing);
}

int StudyValueWhite(EngineState& es, const Position& pos, bool solve, int n, int alpha, int beta) {
    EnsureTable();
    ++table.age;
    Study s{es, MidgameKind(es), nullptr};
    const Discs d = DiscsOf(pos);
    const int v = solve ? StudyNode<true, White>(s, d, n, false, alpha, beta)
                        : StudyNode<false, White>(s, d, n, false, alpha, beta);
    return v < alpha ? alpha : v > beta ? beta : v;
}

void SetStudyThreads(int threads) { threadSetting.store(threads < 0 ? 0 : threads); }

int StudyThreads() {
    int n = threadSetting.load();
    if (n == 0) n = static_cast<int>(std::thread::hardware_concurrency());
    if (n < 1) n = 1;
    return n > MaxThreads ? MaxThreads : n;
}

std::uint64_t StudyTableWrites() { return tableWrites.load(); }

std::size_t StudyTableBytes() { return table.count * sizeof(TableEntry); }

void ClearStudyTable() {
    std::lock_guard<std::mutex> lock(table.mutex);
    for (std::size_t i = 0; i < table.count; ++i) {
        EntryLock entryLock(table.entries[i]);
        table.entries[i].tag = 0;
    }
}
