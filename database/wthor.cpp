#include "database/wthor.h"

namespace {

int Byte(std::string_view b, std::size_t at) { return static_cast<unsigned char>(b[at]); }
int Int16(std::string_view b, std::size_t at) {
    return static_cast<std::int16_t>(Byte(b, at) | Byte(b, at + 1) << 8);
}
std::int32_t Int32(std::string_view b, std::size_t at) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(Byte(b, at)) |
                                     static_cast<std::uint32_t>(Byte(b, at + 1)) << 8 |
                                     static_cast<std::uint32_t>(Byte(b, at + 2)) << 16 |
                                     static_cast<std::uint32_t>(Byte(b, at + 3)) << 24);
}
void PutByte(std::string& s, int v) { s += static_cast<char>(v & 0xFF); }
void PutInt16(std::string& s, int v) { PutByte(s, v); PutByte(s, v >> 8); }
void PutInt32(std::string& s, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int k = 0; k < 4; ++k) PutByte(s, static_cast<int>(u >> (8 * k)));
}

// Windows-1252 0x80..0x9F; 0 where the code page leaves a hole.
constexpr char16_t Western80[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, unsigned c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Records after the header, at most count; the shortfall is reported.
std::size_t RecordsHeld(std::string_view bytes, std::int32_t count, int width, std::vector<WthorProblem>& problems) {
    const std::size_t room = (bytes.size() - WthorHeaderSize) / static_cast<std::size_t>(width);
    const std::size_t wanted = count > 0 ? static_cast<std::size_t>(count) : 0;
    if (room >= wanted) return wanted;
    problems.push_back({WthorFault::CountBeyondFile, 0, count});
    if ((bytes.size() - WthorHeaderSize) % static_cast<std::size_t>(width) != 0)
        problems.push_back({WthorFault::TruncatedRecord, static_cast<int>(room) + 1, 0});
    return room;
}

}  // namespace

bool ReadWthorHeader(std::string_view bytes, WthorHeader& out) {
    if (bytes.size() < WthorHeaderSize) return false;
    out.century = Byte(bytes, 0);
    out.year = Byte(bytes, 1);
    out.month = Byte(bytes, 2);
    out.day = Byte(bytes, 3);
    out.count = Int32(bytes, 4);
    out.nameCount = Int16(bytes, 8) & 0xFFFF;
    out.gameYear = Int16(bytes, 10) & 0xFFFF;
    out.boardSize = Byte(bytes, 12);
    out.solitaire = Byte(bytes, 13);
    out.depth = Byte(bytes, 14) == 0 ? 22 : Byte(bytes, 14);
    return true;
}

std::string Utf8FromWestern(std::string_view bytes) {
    std::string out;
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0) break;
        if (c >= 0x80 && c < 0xA0) AppendUtf8(out, Western80[c - 0x80] ? Western80[c - 0x80] : u'?');
        else AppendUtf8(out, c);
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::vector<std::string> ReadWthorNames(std::string_view bytes, int width, std::vector<WthorProblem>& problems) {
    WthorHeader header;
    if (!ReadWthorHeader(bytes, header)) {
        problems.push_back({WthorFault::ShortHeader, 0, static_cast<int>(bytes.size())});
        return {};
    }
    // Name files count their records in N2; some writers put it in the
    // game count instead.
    const std::int32_t count = header.nameCount > 0 ? header.nameCount : header.count;
    const std::size_t held = RecordsHeld(bytes, count, width, problems);
    std::vector<std::string> names;
    names.reserve(held);
    for (std::size_t k = 0; k < held; ++k)
        names.push_back(Utf8FromWestern(bytes.substr(WthorHeaderSize + k * width, static_cast<std::size_t>(width))));
    return names;
}

std::vector<WthorGame> ReadWthorGames(std::string_view bytes, WthorHeader& header,
                                      std::vector<WthorProblem>& problems) {
    if (!ReadWthorHeader(bytes, header)) {
        problems.push_back({WthorFault::ShortHeader, 0, static_cast<int>(bytes.size())});
        return {};
    }
    if (header.boardSize != 0 && header.boardSize != 8) {
        problems.push_back({WthorFault::NotEightByEight, 0, header.boardSize});
        return {};
    }
    const std::size_t held = RecordsHeld(bytes, header.count, WthorGameSize, problems);
    std::vector<WthorGame> games(held);
    for (std::size_t k = 0; k < held; ++k) {
        const std::size_t at = WthorHeaderSize + k * WthorGameSize;
        WthorGame& g = games[k];
        g.tournament = Int16(bytes, at) & 0xFFFF;
        g.black = Int16(bytes, at + 2) & 0xFFFF;
        g.white = Int16(bytes, at + 4) & 0xFFFF;
        g.blackDiscs = Byte(bytes, at + 6);
        g.theoretical = Byte(bytes, at + 7);
        for (int m = 0; m < WthorMoveRoom; ++m) g.moves[m] = static_cast<std::uint8_t>(Byte(bytes, at + 8 + m));
    }
    return games;
}

std::string ComposeWthorHeader(const WthorHeader& h) {
    std::string s;
    PutByte(s, h.century);
    PutByte(s, h.year);
    PutByte(s, h.month);
    PutByte(s, h.day);
    PutInt32(s, h.count);
    PutInt16(s, h.nameCount);
    PutInt16(s, h.gameYear);
    PutByte(s, h.boardSize);
    PutByte(s, h.solitaire);
    PutByte(s, h.depth == 22 ? 0 : h.depth);
    PutByte(s, 0);
    return s;
}

std::string ComposeWthorNames(const WthorHeader& header, const std::vector<std::string>& names, int width) {
    std::string s = ComposeWthorHeader(header);
    for (const std::string& name : names) {
        std::string field = name.substr(0, static_cast<std::size_t>(width - 1));
        field.resize(static_cast<std::size_t>(width), '\0');
        s += field;
    }
    return s;
}

std::string ComposeWthorGames(const WthorHeader& header, const std::vector<WthorGame>& games) {
    std::string s = ComposeWthorHeader(header);
    for (const WthorGame& g : games) {
        PutInt16(s, g.tournament);
        PutInt16(s, g.black);
        PutInt16(s, g.white);
        PutByte(s, g.blackDiscs);
        PutByte(s, g.theoretical);
        for (const std::uint8_t m : g.moves) PutByte(s, m);
    }
    return s;
}
