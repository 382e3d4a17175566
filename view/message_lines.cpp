#include "view/message_lines.h"

#include <algorithm>
#include <cstring>

#include "core/notation.h"

namespace {

MessageLines panelLines = [] {
    MessageLines lines;
    ClearMessageLines(lines);
    return lines;
}();

char* LineStart(MessageLines& lines, int i) { return lines.bytes + i * MessageLineBytes; }

// Number of bytes of text that fit into limit bytes without cutting a
// double-byte character in two.
std::size_t WholeCharacterPrefix(std::string_view text, std::size_t limit) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t width =
            IsShiftJisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
        if (i + width > limit) break;
        i += width;
    }
    return i;
}

}  // namespace

bool IsShiftJisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

void ClearMessageLines(MessageLines& lines) { std::memset(lines.bytes, ' ', sizeof lines.bytes); }

void LayOutStatusMessage(MessageLines& lines, std::string_view text) {
    text = text.substr(0, WholeCharacterPrefix(text, StatusMessageMaxBytes));
    std::size_t pos = 0;
    for (int i = 0; i < MessageLineCount; ++i) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '|')
            end += IsShiftJisLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
        end = std::min(end, text.size());
        const std::string_view segment = text.substr(pos, end - pos);
        char* line = LineStart(lines, i);
        std::memset(line, ' ', MessageLineBytes);
        if (segment.size() < static_cast<std::size_t>(MessageLineBytes)) {
            std::memcpy(line + (MessageLineBytes - segment.size()) / 2, segment.data(), segment.size());
        } else {
            std::memcpy(line, segment.data(), WholeCharacterPrefix(segment, MessageLineBytes));
        }
        if (end >= text.size()) return;
        pos = end + 1;
    }
}

void LayOutBestLine(MessageLines& lines, const Square* line, int value) {
    constexpr std::size_t bestLinesStart = 3 * MessageLineBytes;
    constexpr std::size_t blockEnd = MessageLineCount * MessageLineBytes;
    std::memset(lines.bytes + bestLinesStart, ' ', blockEnd - bestLinesStart);
    const std::string moves = LineCode(line);
    const std::string valueText = ValueText(value);
    const std::size_t k = std::min<std::size_t>((moves.size() + valueText.size()) / MessageLineBytes, 5);
    const std::size_t start = (5 - k) * MessageLineBytes;
    // A line longer than the panel can hold (more than 60 moves) keeps its
    // value and loses its last moves rather than running past the block.
    const std::size_t room = blockEnd - valueText.size() - start;
    std::memcpy(lines.bytes + start, moves.data(), std::min(moves.size(), room));
    std::memcpy(lines.bytes + blockEnd - valueText.size(), valueText.data(), valueText.size());
}

std::string MessageLineText(const MessageLines& lines, int i) {
    return std::string(lines.bytes + i * MessageLineBytes, MessageLineBytes);
}

MessageLines& PanelMessageLines() { return panelLines; }
