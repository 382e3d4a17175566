#include "core/wide_text.h"

namespace {
constexpr UINT ShiftJisCodePage = 932;
}

std::wstring WideFromShiftJis(std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(ShiftJisCodePage, 0, text.data(), size, nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(ShiftJisCodePage, 0, text.data(), size, out.data(), n);
    return out;
}

std::string ShiftJisFromWide(std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(ShiftJisCodePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(ShiftJisCodePage, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

std::string LoadShiftJisString(UINT id) {
    // With a zero length LoadStringW hands out a pointer to the resource text
    // itself, which keeps trailing spaces and needs no size limit.
    const wchar_t* text = nullptr;
    const int n = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || !text) return {};
    return ShiftJisFromWide(std::wstring_view(text, static_cast<std::size_t>(n)));
}
