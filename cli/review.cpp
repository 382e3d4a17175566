// tavix-cli review FILE|TRANSCRIPT [--depth D] [--set A|B|C] [--exact N] [--book FILE]
// The game review as the review window copies it: one tab-separated line per
// move, then the summary. Deterministic, for scripts.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "book/book_file.h"
#include "book/book_tree.h"
#include "cli/cli.h"
#include "cli/engine_args.h"
#include "record/game_text.h"
#include "record/record_file.h"
#include "research/game_review.h"
#include "research/opening_names.h"

namespace {

constexpr const char* DefaultBookPath = "data/Tavix.STD";

int Usage() {
    std::fputs("usage: tavix-cli review FILE|TRANSCRIPT [--depth D] [--set A|B|C] [--exact N] [--book FILE]\n", stderr);
    return 2;
}

// A record file when one of that name can be read, else a pasted game.
bool ReadGame(const char* argument, ReviewGame& game) {
    std::string bytes;
    if (ReadWholeFile(argument, bytes)) {
        static RecordGame record;
        if (!ReadRecordText(bytes, record)) return false;
        game = ReviewGameOf(record.position, record.record);
        return true;
    }
    static GameRecord history;
    Position pos;
    if (!PasteGame(argument, pos, history).accepted) return false;
    game = ReviewGameOf(pos, history);
    return true;
}

}  // namespace

int RunReview(int argc, char** argv) {
    if (argc < 3) return Usage();
    ReviewParams params;
    const char* bookPath = DefaultBookPath;
    bool timed = false;
    for (int i = 3; i < argc; ++i) {
        const char* a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(a, "--depth") == 0 && hasValue && ReadInteger(argv[i + 1], params.depth) &&
            params.depth >= ReviewDepthMin && params.depth <= ReviewDepthMax) {
            ++i;
        } else if (std::strcmp(a, "--set") == 0 && hasValue && ReadWeightSet(argv[i + 1], params.weightSet)) {
            ++i;
        } else if (std::strcmp(a, "--exact") == 0 && hasValue && ReadInteger(argv[i + 1], params.exactFrom) &&
                   params.exactFrom >= ReviewExactMin && params.exactFrom <= ReviewExactMax) {
            ++i;
        } else if (std::strcmp(a, "--book") == 0 && hasValue) {
            bookPath = argv[++i];
        } else if (std::strcmp(a, "--time") == 0) {
            timed = true;
        } else {
            std::fprintf(stderr, "tavix-cli review: bad argument '%s'\n", a);
            return Usage();
        }
    }
    static ReviewGame game;
    if (!ReadGame(argv[2], game)) {
        std::fprintf(stderr, "tavix-cli review: '%s' is neither a record file nor a game\n", argv[2]);
        return 1;
    }
    static ReviewResult result;
    PrepareReview(game, params, result);
    static EngineState es;
    const auto start = std::chrono::steady_clock::now();
    RunGameReview(es, result, {}, {});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    static OpeningBook book;
    if (std::FILE* f = std::fopen(bookPath, "rb")) {
        std::fclose(f);
        BookLoadReport report;
        LoadBook(bookPath, book, report, nullptr);
    }
    std::fputs(ReviewTableText(result, FindOpening(game, NamedOpenings(), &book)).c_str(), stdout);
    // On standard error, so that the table stays the same from run to run.
    if (timed) std::fprintf(stderr, "review %d moves: %.2f s\n", result.rowCount, seconds);
    return 0;
}
