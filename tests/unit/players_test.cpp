#include <gtest/gtest.h>

#include "app/players.h"

TEST(StoredPlayers, ValidKindsReadAsStoredOthersAsAPersonToRewrite) {
    for (std::int32_t kind = -1; kind <= 9; ++kind) {
        const StoredPlayerKind read = DecodePlayerKind(EncodePlayerKind(kind));
        EXPECT_EQ(read.kind, kind);
        EXPECT_FALSE(read.rewrite) << kind;
    }
    EXPECT_EQ(EncodePlayerKind(-1), 0xFFFFFFFFu);
    // Missing (or of another type or size), just outside the range, and far off.
    for (std::optional<std::uint32_t> bad :
         {std::optional<std::uint32_t>{}, std::optional<std::uint32_t>{10u},
          std::optional<std::uint32_t>{0xFFFFFFFEu}, std::optional<std::uint32_t>{0x80000000u},
          std::optional<std::uint32_t>{0x00000101u}}) {
        const StoredPlayerKind read = DecodePlayerKind(bad);
        EXPECT_EQ(read.kind, -1);
        EXPECT_TRUE(read.rewrite);
    }
}
