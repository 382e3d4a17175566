#include "app/hint_rules.h"

bool HintsWanted(const HintContext& c) {
    if (!c.switchOn || c.activityPaused || c.legalMovesShown || c.legalMoveCount <= 0) return false;
    switch (c.mode) {
        case AppMode::Idle: return true;
        case AppMode::HumanTurn: return c.withComputer || (c.kind[0] == PersonPlayer && c.kind[1] == PersonPlayer);
        default: return false;
    }
}

HintContext SessionHintContext(const GameSession& s, bool switchOn, bool withComputer, bool activityPaused,
                               bool legalMovesShown) {
    return {s.mode,
            switchOn,
            withComputer,
            {s.side[0].kind, s.side[1].kind},
            s.position.legalMoveCount,
            activityPaused,
            legalMovesShown};
}
