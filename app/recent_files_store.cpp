#include "app/recent_files_store.h"

#include "config/registry.h"
#include "res/resource.h"

namespace {

constexpr wchar_t RecentGroupName[] = L"Recent File List";

RecentFiles recentFiles;

std::wstring ValueName(int slot) {
    std::wstring name = L"File";
    name += static_cast<wchar_t>(L'1' + slot);
    return name;
}

}  // namespace

RecentFiles& RecentFileList() { return recentFiles; }

void ReadRecentFiles() {
    std::wstring stored[RecentFileSlots];
    HKEY key = CreateRegistryKey(VendorKeyName, ProductKeyName, RecentGroupName);
    if (key) {
        for (int i = 0; i < RecentFileSlots; ++i)
            if (!ReadStringValue(key, ValueName(i).c_str(), stored[i], RecentPathRoom)) stored[i].clear();
        RegCloseKey(key);
    }
    SetRecentFiles(recentFiles, stored);
}

void StoreRecentFiles() {
    HKEY key = CreateRegistryKey(VendorKeyName, ProductKeyName, RecentGroupName);
    if (!key) return;
    for (int i = 0; i < RecentFileSlots; ++i) {
        const std::wstring empty;
        WriteStringValue(key, ValueName(i).c_str(), i < recentFiles.count ? recentFiles.paths[i] : empty,
                         RecentPathRoom);
    }
    RegCloseKey(key);
}

void BuildRecentMenu(HMENU menu) {
    while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
    if (recentFiles.count == 0) {
        AppendMenuW(menu, MF_STRING | MF_GRAYED, IDM_RECORD_RECENT_FIRST, L"(なし)");
        return;
    }
    for (int i = 0; i < recentFiles.count; ++i)
        AppendMenuW(menu, MF_STRING, IDM_RECORD_RECENT_FIRST + i, RecentMenuText(i, recentFiles.paths[i]).c_str());
}
