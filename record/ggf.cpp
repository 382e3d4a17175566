#include "record/ggf.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "core/notation.h"
#include "core/position_text.h"

namespace {

constexpr char PersonName[] = "人 間";
constexpr char LevelName[] = "ｺﾝﾋﾟｭｰﾀ %d";

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::int32_t KindFromName(const std::string& name) {
    for (int level = 0; level <= 9; ++level) {
        char text[32];
        std::snprintf(text, sizeof text, LevelName, level);
        if (name == text) return level;
    }
    return -1;
}

// "5", "1:05", "0:01:05", "4.5": seconds, rounded; 0 when unreadable.
int ReadSeconds(std::string_view text) {
    int total = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        double part = 0;
        bool any = false;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && part < 1e6) {
            part = part * 10 + (text[at++] - '0');
            any = true;
        }
        if (at < text.size() && text[at] == '.') {
            double scale = 0.1;
            for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10)
                part += (text[at] - '0') * scale;
        }
        if (!any) return 0;
        total = total * 60 + static_cast<int>(part + 0.5);
        if (total > 360000) return 0;
        if (at == text.size()) break;
        if (text[at] != ':') return 0;
        ++at;
    }
    return total;
}

// BO[8 cells side]: false when the size is not 8 or the cells do not read.
bool ReadBoard(std::string_view value, Position& pos) {
    std::size_t at = 0;
    while (at < value.size() && IsBlank(value[at])) ++at;
    if (at >= value.size() || value[at] != '8') return false;
    ++at;
    SetInitialPosition(pos);
    for (int k = 0; k < 64; ++at) {
        if (at >= value.size()) return false;
        const char c = value[at];
        if (IsBlank(c)) continue;
        const Square sq = (k / 8 + 1) * 10 + k % 8 + 1;
        if (c == '*' || c == 'X' || c == 'x') pos.board[sq] = Black;
        else if (c == 'O' || c == 'o') pos.board[sq] = White;
        else if (c == '-' || c == '.') pos.board[sq] = Empty;
        else return false;
        ++k;
    }
    while (at < value.size() && IsBlank(value[at])) ++at;
    pos.sideToMove = at < value.size() && (value[at] == 'O' || value[at] == 'o') ? 1 : 0;
    return true;
}

struct Reader {
    std::string_view text;
    std::size_t at = 0;

    // The next property of the game, false at its end ";)" or the text's.
    bool NextProperty(std::string& name, std::string& value) {
        name.clear();
        value.clear();
        while (at < text.size()) {
            const char c = text[at];
            if (c == ')') {
                ++at;
                return false;
            }
            if (c >= 'A' && c <= 'Z') {
                name += c;
                ++at;
            } else if (c == '[') {
                for (++at; at < text.size() && text[at] != ']'; ++at) {
                    if (text[at] == '\\' && at + 1 < text.size()) ++at;
                    value += text[at];
                }
                ++at;
                return true;
            } else {
                name.clear();  // blanks, ";" and stray characters between properties
                ++at;
            }
        }
        return false;
    }
};

struct GameBuilder {
    GgfGame out;
    int clock[2] = {0, 0};
    bool stopped = false;

    void Start(const Position& start) {
        out.game.position = start;
        ResetHistory(out.game.record);
        clock[0] = clock[1] = 0;
    }

    bool AppendPass() {
        Position& p = out.game.position;
        if (!AppendPly(out.game.record, Pass, FlipRecord{}, clock[p.sideToMove])) return false;
        p.sideToMove ^= 1;
        return true;
    }

    // One move of colour side (0 black) written as value.
    void Move(int side, const std::string& value) {
        ++out.movesWritten;
        if (stopped) return;
        const std::size_t slash = value.find('/');
        const std::string square = value.substr(0, slash);
        int seconds = 0;
        if (slash != std::string::npos) {
            const std::size_t second = value.find('/', slash + 1);
            if (second != std::string::npos) seconds = ReadSeconds(std::string_view(value).substr(second + 1));
        }
        std::string code;
        for (const char c : square)
            if (!IsBlank(c)) code += Upper(c);
        Position& p = out.game.position;
        Square sq = -1;
        if (code == "PA" || code == "PASS") sq = Pass;
        else if (code.size() == 2 && code[0] >= 'A' && code[0] <= 'H' && code[1] >= '1' && code[1] <= '8')
            sq = (code[1] - '0') * 10 + (code[0] - 'A' + 1);
        // A pass the text left out is made here.
        if (side != p.sideToMove && sq > 0 && CountLegalMoves(p, p.sideToMove) == 0 && !AppendPass()) sq = -1;
        FlipRecord flips{};
        bool taken = false;
        if (sq == Pass) {
            taken = side == p.sideToMove && CountLegalMoves(p, p.sideToMove) == 0;
            if (taken) {
                clock[side] += seconds;
                taken = AppendPass();
            }
        } else if (sq > 0 && side == p.sideToMove && p.board[sq] == Empty &&
                   PlayMove(p, sq, ColourOfSide(side), flips) > 0) {
            clock[side] += seconds;
            taken = AppendPly(out.game.record, sq, flips, clock[side]);
            if (taken) p.sideToMove ^= 1;
            else UndoMove(p, sq, ColourOfSide(side), flips);
        }
        if (taken) ++out.movesTaken;
        else stopped = true;
    }
};

void AppendText(std::string& text, const char* format, ...) __attribute__((format(printf, 2, 3)));
void AppendText(std::string& text, const char* format, ...) {
    char buffer[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    text += buffer;
}

std::string PlayerText(std::int32_t kind) {
    if (kind < 0 || kind > 9) return PersonName;
    char text[32];
    std::snprintf(text, sizeof text, LevelName, kind);
    return text;
}

}  // namespace

bool LooksLikeGgf(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at])) ++at;
    return text.substr(at, 2) == "(;";
}

std::vector<GgfGame> ReadGgfGames(std::string_view text) {
    std::vector<GgfGame> games;
    Reader reader{text};
    for (std::size_t open;
         games.size() < MostGgfGames && (open = text.find("(;", reader.at)) != std::string_view::npos;) {
        reader.at = open + 2;
        GameBuilder builder;
        Position start;
        SetInitialPosition(start);
        builder.Start(start);
        bool eightByEight = true, moved = false;
        std::string name, value;
        while (reader.NextProperty(name, value)) {
            if (name == "PB") builder.out.black = value;
            else if (name == "PW") builder.out.white = value;
            else if (name == "DT") builder.out.date = value;
            else if (name == "PC") builder.out.place = value;
            else if (name == "RE") builder.out.result = value;
            else if (name == "TY") eightByEight = !value.empty() && value[0] == '8' &&
                                                   (value.size() == 1 || value[1] < '0' || value[1] > '9');
            else if (name == "BO" && !moved) {
                if (!ReadBoard(value, start)) eightByEight = false;
                builder.Start(start);
            }
            else if (name == "B" || name == "W") {
                moved = true;
                builder.Move(name == "B" ? 0 : 1, value);
            }
        }
        if (!eightByEight) continue;
        RecordGame& g = builder.out.game;
        g.kinds[0] = KindFromName(builder.out.black);
        g.kinds[1] = KindFromName(builder.out.white);
        int black, white;
        RecountPosition(g.position, black, white);
        games.push_back(std::move(builder.out));
    }
    return games;
}

std::string ComposeGgfText(const Position& current, const GameRecord& history, const std::int32_t kinds[2],
                           const RecordTime& when) {
    std::string text = "(;GM[Othello]PC[Tavix]";
    AppendText(text, "DT[%04d.%02d.%02d_%02d:%02d:%02d]", when.year, when.month, when.day, when.hour, when.minute,
               when.second);
    text += "PB[" + PlayerText(kinds[0]) + "]PW[" + PlayerText(kinds[1]) + "]";
    Position end = current;
    GameRecord rec = history;
    LastMoves last;
    NavigateHistory(end, rec, HistoryStep::ToEnd, last);
    if (CountLegalMoves(end, end.sideToMove) < 0) {
        Position counted = end;
        int black, white;
        RecountPosition(counted, black, white);
        AppendText(text, "RE[%+d.000]", counted.discDifference);
    }
    Position start;
    GameStart(current, history, start);
    text += "TY[8]BO[8 ";
    for (int row = 1; row <= 8; ++row) {
        for (int column = 1; column <= 8; ++column) {
            const int cell = start.board[row * 10 + column];
            text += cell == Black ? '*' : cell == White ? 'O' : '-';
        }
        text += ' ';
    }
    text += start.sideToMove == 0 ? "*]" : "O]";
    SeekHistory(rec, 0);
    int side = start.sideToMove;
    int previous[2] = {0, 0};
    Square square;
    int clock;
    while (StepForward(rec, &square, nullptr, &clock)) {
        AppendText(text, "%s[%s//%d]", side == 0 ? "B" : "W", square > 0 ? SquareCode(square).c_str() : "PA",
                   clock - previous[side]);
        previous[side] = clock;
        side ^= 1;
    }
    return text + ";)\r\n";
}
