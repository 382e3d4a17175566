// The players' stored form: two REG_DWORD values "Black" and "White" under the
// key "Player", each a PlayerKind (-1 a person, 0..9 a computer level) stored
// as its 32-bit two's complement. The registry access itself is window code;
// this is the decoding and checking it relies on.
#pragma once

#include <cstdint>
#include <optional>

constexpr std::int32_t LowestPlayerKind = -1;   // a person
constexpr std::int32_t HighestPlayerKind = 9;   // the strongest computer level

struct StoredPlayerKind {
    std::int32_t kind;
    bool rewrite;  // the stored value was unusable: write kind back
};

// stored: the value when it exists as a 4-byte REG_DWORD, otherwise none.
// A missing or out-of-range value reads as a person and is to be rewritten.
StoredPlayerKind DecodePlayerKind(std::optional<std::uint32_t> stored);
std::uint32_t EncodePlayerKind(std::int32_t kind);
