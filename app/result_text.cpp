#include "app/result_text.h"

#include "core/notation.h"

std::string ResultText(int discDifference) {
    if (discDifference == 0) return "\x88\xF8\x82\xAB\x95\xAA\x82\xAF\x82\xC5\x82\xB7\x81\x42";  // 引き分けです。
    std::string t = discDifference > 0 ? "\x8D\x95" : "\x94\x92";  // 黒 / 白
    t += "\x82\xCC";                                                // の
    const unsigned margin = static_cast<unsigned>(discDifference > 0 ? discDifference : -discDifference);
    t += *WideNumberText(margin, 2);
    t += "\x90\xCE\x8F\x9F\x82\xBF\x82\xC5\x82\xB7\x81\x42";  // 石勝ちです。
    return t;
}
