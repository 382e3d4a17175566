#include "core/notation.h"

#include <cstdio>

namespace {
constexpr char kSjisLead = '\x82';
}

std::string SquareText(Square sq) {
    if (sq < 0) return "    ";
    if (sq == 0) return "\x83\x70\x83\x58";  // パス
    std::string t(4, kSjisLead);
    t[1] = static_cast<char>(0x80 + sq % 10);
    t[3] = static_cast<char>(0x4F + sq / 10);
    return t;
}

std::string SquareCode(Square sq) {
    if (sq <= 0) return "**";
    return {static_cast<char>('a' - 1 + sq % 10), static_cast<char>('0' + sq / 10)};
}

Square ParseSquareCode(const char* text) {
    if (!text) return -1;
    if (text[0] == '*' && text[1] == '*') return 0;
    if (text[0] >= 'a' && text[0] <= 'h' && text[1] >= '1' && text[1] <= '8')
        return (text[1] - '0') * 10 + (text[0] - 'a' + 1);
    return -1;
}

std::string LineCode(const Square* line) {
    std::string t;
    for (; *line != 0; ++line) t += SquareCode(*line);
    return t;
}

std::string ValueText(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, value > 0 ? "+%d" : "%d", value);
    return buf;
}

std::string TimeText(int seconds) {
    const unsigned s = static_cast<unsigned>(seconds);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02u:%02u:%02u", (s / 3600) % 100, (s / 60) % 60, s % 60);
    return buf;
}

int ParseTimeText(const char* text) {
    if (!text) return 0;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    for (int i = 0; i < 8; ++i)
        if (text[i] == '\0') return 0;
    if (!digit(text[0]) || !digit(text[1]) || text[2] != ':' || text[3] < '0' || text[3] > '5' ||
        !digit(text[4]) || text[5] != ':' || text[6] < '0' || text[6] > '5' || !digit(text[7]))
        return 0;
    const int h = (text[0] - '0') * 10 + (text[1] - '0');
    const int m = (text[3] - '0') * 10 + (text[4] - '0');
    const int s = (text[6] - '0') * 10 + (text[7] - '0');
    return h * 3600 + m * 60 + s;
}

std::optional<std::string> WideNumberText(unsigned value, int width) {
    if (width < 1 || width > 10) return std::nullopt;
    std::string t(2 * width, ' ');
    int cell = width - 1;
    do {
        t[2 * cell] = kSjisLead;
        t[2 * cell + 1] = static_cast<char>(0x4F + value % 10);
        value /= 10;
        --cell;
    } while (value != 0 && cell >= 0);
    return t;
}
