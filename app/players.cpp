#include "app/players.h"

StoredPlayerKind DecodePlayerKind(std::optional<std::uint32_t> stored) {
    if (stored) {
        const auto kind = static_cast<std::int32_t>(*stored);
        if (kind >= LowestPlayerKind && kind <= HighestPlayerKind) return {kind, false};
    }
    return {LowestPlayerKind, true};
}

std::uint32_t EncodePlayerKind(std::int32_t kind) { return static_cast<std::uint32_t>(kind); }
