#include "config/review_settings.h"

const char* const ReviewSettingNames[ReviewSettingCount] = {"ReviewDepth", "ReviewWeights", "ReviewExact"};

namespace {

struct Range {
    int lo, hi;
};
constexpr Range ReviewRanges[ReviewSettingCount] = {{ReviewDepthMin, ReviewDepthMax}, {0, 2},
                                                     {ReviewExactMin, ReviewExactMax}};

}  // namespace

std::int32_t& ReviewSetting(ReviewParams& p, ReviewSettingValue value) {
    switch (value) {
    case ReviewDepthValue: return p.depth;
    case ReviewWeightsValue: return p.weightSet;
    default: return p.exactFrom;
    }
}

CheckedReviewSettings CheckStoredReviewSettings(const std::optional<std::uint32_t> (&stored)[ReviewSettingCount]) {
    CheckedReviewSettings checked{ReviewParams{}, {}};
    for (int i = 0; i < ReviewSettingCount; ++i) {
        const auto value = static_cast<ReviewSettingValue>(i);
        // A DWORD is read as signed: 0xFFFFFFFF is -1, out of every range.
        const bool valid = stored[i] && static_cast<std::int32_t>(*stored[i]) >= ReviewRanges[i].lo &&
                           static_cast<std::int32_t>(*stored[i]) <= ReviewRanges[i].hi;
        if (valid) ReviewSetting(checked.params, value) = static_cast<std::int32_t>(*stored[i]);
        checked.writeBack[i] = !valid;
    }
    return checked;
}

ReviewParams CorrectReviewParams(const ReviewParams& p) {
    std::optional<std::uint32_t> stored[ReviewSettingCount];
    ReviewParams copy = p;
    for (int i = 0; i < ReviewSettingCount; ++i)
        stored[i] = static_cast<std::uint32_t>(ReviewSetting(copy, static_cast<ReviewSettingValue>(i)));
    return CheckStoredReviewSettings(stored).params;
}
