#include "app/players_store.h"

#include <optional>

#include "app/players.h"
#include "config/registry.h"
#include "session/game_session.h"

namespace {

constexpr wchar_t PlayerGroupName[] = L"Player";
constexpr const wchar_t* PlayerValueNames[2] = {L"Black", L"White"};

}  // namespace

void ReadPlayers() {
    SideInfo* side = Session().side;
    HKEY key = CreateRegistryKey(VendorKeyName, ProductKeyName, PlayerGroupName);
    for (int i = 0; i < 2; ++i) {
        std::optional<std::uint32_t> stored;
        DWORD value = 0;
        if (key && ReadDwordValue(key, PlayerValueNames[i], value)) stored = value;
        const StoredPlayerKind read = DecodePlayerKind(stored);
        side[i].kind = read.kind;
        if (read.rewrite && key) WriteDwordValue(key, PlayerValueNames[i], EncodePlayerKind(read.kind));
    }
    if (key) RegCloseKey(key);
}

void StorePlayers() {
    const SideInfo* side = Session().side;
    HKEY key = CreateRegistryKey(VendorKeyName, ProductKeyName, PlayerGroupName);
    if (!key) return;
    for (int i = 0; i < 2; ++i) WriteDwordValue(key, PlayerValueNames[i], EncodePlayerKind(side[i].kind));
    RegCloseKey(key);
}
