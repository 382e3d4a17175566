// tavix-cli record show FILE | record new TRANSCRIPT|BOARDSTRING
#include <cstdio>
#include <ctime>
#include <string>

#include "cli/cli.h"
#include "core/notation.h"
#include "core/position_text.h"
#include "record/game_text.h"
#include "record/record_file.h"

namespace {

// The program's own file errors (the source is UTF-8, and so is the output).
const char* const FileNotFound = "\nこのﾌｧｲﾙが見つかりません。\n\nﾊﾟｽとﾌｧｲﾙ名を確認して下さい。";
const char* const NotARecord = "\nこのﾌｧｲﾙは棋譜ﾌｧｲﾙではありません。\n\nﾌｧｲﾙの内容を確認して下さい。";

int Usage() {
    std::fputs("usage: tavix-cli record show FILE | record new TRANSCRIPT|BOARDSTRING\n", stderr);
    return 2;
}

const char* KindText(int kind) {
    static const char* const levels[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    return kind >= 0 && kind <= 9 ? levels[kind] : "person";
}

int ShowRecord(const char* name) {
    std::string bytes;
    if (!ReadWholeFile(name, bytes)) {
        std::printf("%s%s\n", name, FileNotFound);
        return 1;
    }
    RecordGame game;
    if (!ReadRecordText(bytes, game)) {
        std::printf("%s%s\n", name, NotARecord);
        return 1;
    }
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
    int black = 0, white = 0;
    RecountPosition(game.position, black, white);
    std::printf("final %s\ndiscs black %d white %d\n", PositionText(game.position).c_str(), black, white);
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
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    const RecordTime when = {local->tm_year + 1900, local->tm_mon + 1, local->tm_mday,
                             local->tm_hour,        local->tm_min,     local->tm_sec};
    const std::int32_t people[2] = {-1, -1};
    const std::string record = ComposeRecordText(pos, rec, people, when);
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
    return Usage();
}
