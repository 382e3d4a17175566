// tavix-cli record show FILE | record new TRANSCRIPT|BOARDSTRING | record convert IN OUT
//
// show and convert read a record file (*.rgm) or a GGF text (every game of
// it for show, the first for convert; convert also takes a transcript);
// convert writes by OUT's extension: .rgm, .ggf, or .txt (the transcript).
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "core/notation.h"
#include "core/position_text.h"
#include "record/game_text.h"
#include "record/ggf.h"
#include "record/record_file.h"

namespace {

// The program's own file errors (the source is UTF-8, and so is the output).
const char* const FileNotFound = "\nこのﾌｧｲﾙが見つかりません。\n\nﾊﾟｽとﾌｧｲﾙ名を確認して下さい。";
const char* const NotARecord = "\nこのﾌｧｲﾙは棋譜ﾌｧｲﾙではありません。\n\nﾌｧｲﾙの内容を確認して下さい。";

int Usage() {
    std::fputs("usage: tavix-cli record show FILE | record new TRANSCRIPT|BOARDSTRING | record convert IN OUT\n",
               stderr);
    return 2;
}

const char* KindText(int kind) {
    static const char* const levels[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    return kind >= 0 && kind <= 9 ? levels[kind] : "person";
}

void PrintGame(const RecordGame& game) {
    Position start;
    GameStart(game.position, game.record, start);
    std::printf("black %s\nwhite %s\nstart %s\n", KindText(game.kinds[0]), KindText(game.kinds[1]),
                PositionText(start).c_str());
    GameRecord plies = game.record;
    SeekHistory(plies, 0);
    Square square;
    int clock;
    for (int n = 1; StepForward(plies, &square, nullptr, &clock); ++n)
        std::printf("%02d %s %s\n", n, square > 0 ? SquareCode(square).c_str() : "pass", TimeText(clock).c_str());
    std::string transcript = GameTranscriptText(game.position, game.record);
    for (char& c : transcript)
        if (c == '\r' || c == '\n') c = ' ';
    std::printf("transcript %s\n", transcript.c_str());
    Position final = game.position;
    int black = 0, white = 0;
    RecountPosition(final, black, white);
    std::printf("final %s\ndiscs black %d white %d\n", PositionText(final).c_str(), black, white);
}

// The first game (or each game, with show) of a record file or GGF text;
// a transcript or board string too when transcripts is set.
bool ReadGames(const std::string& bytes, bool transcripts, std::vector<GgfGame>& games) {
    RecordGame game;
    if (LooksLikeGgf(bytes)) games = ReadGgfGames(bytes);
    else if (ReadRecordText(bytes, game)) games.push_back({{}, {}, {}, {}, {}, game, 0, 0});
    else if (transcripts) {
        GgfGame pasted;
        pasted.game.kinds[0] = pasted.game.kinds[1] = -1;
        if (PasteGame(bytes, pasted.game.position, pasted.game.record).accepted) games.push_back(pasted);
    }
    return !games.empty();
}

int ShowRecord(const char* name) {
    std::string bytes;
    if (!ReadWholeFile(name, bytes)) {
        std::printf("%s%s\n", name, FileNotFound);
        return 1;
    }
    std::vector<GgfGame> games;
    if (!ReadGames(bytes, false, games)) {
        std::printf("%s%s\n", name, NotARecord);
        return 1;
    }
    for (std::size_t k = 0; k < games.size(); ++k) {
        const GgfGame& g = games[k];
        if (LooksLikeGgf(bytes))
            std::printf("%sgame %zu\nplayers %s - %s\ndate %s\nresult %s\nmoves %d of %d\n", k > 0 ? "\n" : "",
                        k + 1, g.black.c_str(), g.white.c_str(), g.date.c_str(), g.result.c_str(), g.movesTaken,
                        g.movesWritten);
        PrintGame(g.game);
    }
    return 0;
}

RecordTime Now() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    return {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday, local->tm_hour, local->tm_min, local->tm_sec};
}

bool EndsWith(const std::string& name, const char* tail) {
    const std::size_t n = std::strlen(tail);
    if (name.size() < n) return false;
    for (std::size_t k = 0; k < n; ++k)
        if (std::tolower(static_cast<unsigned char>(name[name.size() - n + k])) != tail[k]) return false;
    return true;
}

int ConvertRecord(const char* in, const std::string& out) {
    std::string bytes;
    if (!ReadWholeFile(in, bytes)) {
        std::printf("%s%s\n", in, FileNotFound);
        return 1;
    }
    std::vector<GgfGame> games;
    if (!ReadGames(bytes, true, games)) {
        std::printf("%s%s\n", in, NotARecord);
        return 1;
    }
    const RecordGame& game = games.front().game;
    std::string text;
    if (EndsWith(out, ".rgm")) text = ComposeRecordText(game.position, game.record, game.kinds, Now());
    else if (EndsWith(out, ".ggf")) text = ComposeGgfText(game.position, game.record, game.kinds, Now());
    else if (EndsWith(out, ".txt")) text = GameTranscriptText(game.position, game.record) + "\r\n";
    else return Usage();
    std::FILE* file = std::fopen(out.c_str(), "wb");
    if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size() || std::fclose(file) != 0) {
        std::fprintf(stderr, "tavix-cli record convert: cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

int NewRecord(int argc, char** argv) {
    std::string text;
    for (int i = 3; i < argc; ++i) text += std::string(i > 3 ? " " : "") + argv[i];
    Position pos;
    GameRecord rec;
    const PasteOutcome outcome = PasteGame(text, pos, rec);
    if (!outcome.accepted) {
        std::fputs(outcome.kind == PastedKind::Neither ? "tavix-cli record new: neither a transcript nor a board string\n"
                                                       : "tavix-cli record new: the first move cannot be played\n",
                   stderr);
        return 1;
    }
    if (outcome.refused >= 0)
        std::fprintf(stderr, "tavix-cli record new: %s cannot be played; %d moves taken\n",
                     outcome.refused > 0 ? SquareCode(outcome.refused).c_str() : "pass", outcome.movesTaken);
    const std::int32_t people[2] = {-1, -1};
    const std::string record = ComposeRecordText(pos, rec, people, Now());
    std::fwrite(record.data(), 1, record.size(), stdout);
    return 0;
}

}  // namespace

bool ReadWholeFile(const char* name, std::string& bytes) {
    std::FILE* file = std::fopen(name, "rb");
    if (!file) return false;
    char buffer[16384];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, got);
    std::fclose(file);
    return true;
}

int RunRecord(int argc, char** argv) {
    if (argc == 4 && std::string(argv[2]) == "show") return ShowRecord(argv[3]);
    if (argc >= 4 && std::string(argv[2]) == "new") return NewRecord(argc, argv);
    if (argc == 5 && std::string(argv[2]) == "convert") return ConvertRecord(argv[3], argv[4]);
    return Usage();
}
