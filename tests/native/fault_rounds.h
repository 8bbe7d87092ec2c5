// Rounds of planned failures for the native tests: each injectable call of an operation fails in
// turn, or each transfer comes up short in turn, and after every round nothing may be held.
#pragma once

#include <functional>
#include <vector>

#include "platform/posix/standin_control.h"

// Nothing is held beyond what the test itself holds (`before`), and the clipboard is closed.
void ExpectNothingHeld(const StandinHeld& before = StandinHeld{});

// Runs `operation` with its kth injectable call failing, for k = 1, 2, ... until k lies beyond
// its calls; `prepare` runs first each round, with no failure planned. The operation must fail
// whenever its planned failure was met (unless the failing call was of a `tolerated` kind, whose
// failure the operation expects anyway), and succeed otherwise; `outcome`, when given, judges
// that instead of the operation's own answer, with no failure planned. After each failed round,
// `expectAfterFailure` checks what is left.
void FailEachCallInTurn(const std::function<bool()>& operation,
                        const std::function<void()>& expectAfterFailure,
                        const std::function<void()>& prepare = [] {},
                        const std::function<bool()>& outcome = nullptr,
                        const std::vector<StandinCall>& tolerated = {});

// Shortens the nth call of `call` (ReadFile or WriteFile) to one byte, for n = 1, 2, ... until
// the operation runs through.
void ShortenEachTransferInTurn(StandinCall call, const std::function<bool()>& operation,
                               const std::function<void()>& expectAfterFailure);
