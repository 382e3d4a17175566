#include "core/wide_text.h"

namespace {
constexpr UINT ShiftJisCodePage = 932;

std::wstring WideFrom(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), n);
    return out;
}

std::string NarrowFrom(UINT codePage, std::wstring_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

}  // namespace

std::wstring WideFromShiftJis(std::string_view text) { return WideFrom(ShiftJisCodePage, text); }
std::string ShiftJisFromWide(std::wstring_view text) { return NarrowFrom(ShiftJisCodePage, text); }
std::wstring WideFromUtf8(std::string_view text) { return WideFrom(CP_UTF8, text); }
std::string Utf8FromWide(std::wstring_view text) { return NarrowFrom(CP_UTF8, text); }

std::string LoadShiftJisString(UINT id) {
    // With a zero length LoadStringW hands out a pointer to the resource text
    // itself, which keeps trailing spaces and needs no size limit.
    const wchar_t* text = nullptr;
    const int n = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (n <= 0 || !text) return {};
    return ShiftJisFromWide(std::wstring_view(text, static_cast<std::size_t>(n)));
}
