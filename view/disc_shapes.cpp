#include "view/disc_shapes.h"

std::vector<DiscEllipse> DiscSpriteEllipses(int u) {
    const int S = 4 * u;
    auto box = [](int l, int t, int r, int b) { return LayoutRect{l, t, r, b}; };
    std::vector<DiscEllipse> out;
    using enum DiscInk;

    {  // black disc: a white rim under a black rim under the face
        const int L = S + 2, t = 2, R = 2 * S - 3, B = S - 3;
        out.push_back({box(L, t + 2, R, B), White, Hollow});
        out.push_back({box(L, t + 1, R, B - 1), Black, Hollow});
        out.push_back({box(L, t, R, B - 2), Grey, Black});
    }
    {  // white disc: two black rims and a light-grey rim under the face
        const int L = 2 * S + 2, t = 2, R = 3 * S - 3, B = S - 3;
        out.push_back({box(L, t + 3, R, B + 1), Black, Hollow});
        out.push_back({box(L, t + 2, R, B), Black, Hollow});
        out.push_back({box(L, t + 1, R, B - 1), LightGrey, Hollow});
        out.push_back({box(L, t, R, B - 2), Grey, White});
    }
    {  // black disc edge-on: white rims above, black face at the bottom
        const int L = 3 * S + 2, t = u + 1, R = 4 * S - 3, B = 3 * u;
        out.push_back({box(L, t, R, B - 4), White, Hollow});
        out.push_back({box(L, t + 1, R, B - 3), White, Hollow});
        out.push_back({box(L, t + 2, R, B - 2), Black, Hollow});
        out.push_back({box(L, t + 3, R, B - 1), Black, Hollow});
        out.push_back({box(L, t + 4, R, B), Grey, Black});
    }
    {  // white disc edge-on: black rims below, white face at the top
        const int L = 4 * S + 2, t = u + 1, R = 5 * S - 3, B = 3 * u;
        out.push_back({box(L, t + 5, R, B + 1), Black, Hollow});
        out.push_back({box(L, t + 4, R, B), Black, Hollow});
        out.push_back({box(L, t + 3, R, B - 1), Black, Hollow});
        out.push_back({box(L, t + 2, R, B - 2), White, Hollow});
        out.push_back({box(L, t + 1, R, B - 3), White, Hollow});
        out.push_back({box(L, t, R, B - 4), Grey, White});
    }
    {  // mark disc
        const int L = 5 * S + 2, t = 2, R = 6 * S - 3, B = S - 3;
        out.push_back({box(L, t + 2, R, B), Mark, Hollow});
        out.push_back({box(L, t + 1, R, B - 1), Mark, Hollow});
        out.push_back({box(L, t, R, B - 2), Grey, Mark});
    }
    return out;
}

DiscCopy DiscCopyFor(int u, Square sq, int cell) {
    const int S = 4 * u;
    return {S * cell + 2, 2, S - 5, S - 4, S * (sq % 10) + 3, ToolbarBand + S * (sq / 10) + 3};
}
