// The game review's settings, kept under Configuration beside the others:
// ReviewDepth (1..20, default 12), ReviewWeights (0..2 for Ａ, Ｂ, Ｃ,
// default 0) and ReviewExact (0..30 empty squares, default 20). A value that
// is missing or out of range is replaced by its default and written back.
#pragma once

#include <cstdint>
#include <optional>

struct ReviewParams {
    std::int32_t depth = 12;
    std::int32_t weightSet = 0;
    std::int32_t exactFrom = 20;
};
constexpr int ReviewDepthMin = 1, ReviewDepthMax = 20;
constexpr int ReviewExactMin = 0, ReviewExactMax = 30;

enum ReviewSettingValue { ReviewDepthValue, ReviewWeightsValue, ReviewExactValue, ReviewSettingCount };
extern const char* const ReviewSettingNames[ReviewSettingCount];

std::int32_t& ReviewSetting(ReviewParams& p, ReviewSettingValue value);

struct CheckedReviewSettings {
    ReviewParams params;
    bool writeBack[ReviewSettingCount];
};
// What the registry answered (nothing: the read failed) checked value by value.
CheckedReviewSettings CheckStoredReviewSettings(const std::optional<std::uint32_t> (&stored)[ReviewSettingCount]);

// A setting out of its range is brought back to its default.
ReviewParams CorrectReviewParams(const ReviewParams& p);
