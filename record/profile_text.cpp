#include "record/profile_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// The next line of text from at, without its end (CR LF, LF or CR).
std::string_view NextLine(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && text[at] != '\n' && text[at] != '\r') ++at;
    const std::string_view line = text.substr(start, at - start);
    if (at < text.size() && text[at] == '\r') ++at;
    if (at < text.size() && text[at] == '\n') ++at;
    return line;
}

}  // namespace

ProfileSection ReadProfileSection(std::string_view text, std::string_view section) {
    // A file saved by an editor may begin with the UTF-8 byte-order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    ProfileSection result;
    bool inside = false;
    for (std::size_t at = 0; at < text.size();) {
        const std::string_view line = Trim(NextLine(text, at));
        // A line in brackets starts a section; without its "]" it is an
        // entry of the section it stands in.
        const std::size_t close = line.rfind(']');
        if (!line.empty() && line.front() == '[' && close != std::string_view::npos) {
            if (result.found) break;
            inside = SameName(Trim(line.substr(1, close - 1)), section);
            result.found = inside;
            continue;
        }
        if (!inside || line.empty()) continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            result.entries.push_back({line, {}});
        } else {
            result.entries.push_back({Trim(line.substr(0, equals)), Trim(line.substr(equals + 1))});
        }
    }
    return result;
}

std::string ProfileValue(const ProfileSection& section, std::string_view key) {
    for (const ProfileEntry& e : section.entries) {
        if (!SameName(e.key, key)) continue;
        std::string_view v = e.value;
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return std::string(v.substr(0, ProfileValueLimit));
    }
    return {};
}
