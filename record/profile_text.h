// Values of INI-style text read the way the platform's private-profile
// reader reads them, so that a record file loads the same on every build:
// section and key names match regardless of letter case, the first matching
// section and the first matching key in it win, blanks around names and
// values are dropped, a value in one pair of quotes loses them, a value is
// cut at 255 characters and a missing key reads as empty.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The longest value a read returns, as with the platform's 256-character
// buffer.
constexpr std::size_t ProfileValueLimit = 255;

struct ProfileEntry {
    std::string_view key;
    std::string_view value;
};

// The entries of the first section of text named section; they point into
// text, which must outlive them.
struct ProfileSection {
    bool found = false;
    std::vector<ProfileEntry> entries;
};

ProfileSection ReadProfileSection(std::string_view text, std::string_view section);

// The value of the first entry named key ("" when there is none).
std::string ProfileValue(const ProfileSection& section, std::string_view key);
