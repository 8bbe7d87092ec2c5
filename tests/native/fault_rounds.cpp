#include "tests/native/fault_rounds.h"

#include <gtest/gtest.h>

#include <algorithm>

void ExpectNothingHeld(const StandinHeld& before) {
    StandinHeld held = StandinHeldResources();
    EXPECT_EQ(held.files, before.files);
    EXPECT_EQ(held.heapBlocks, before.heapBlocks);
    EXPECT_EQ(held.globalBlocks, before.globalBlocks);
    EXPECT_EQ(held.lockedGlobals, before.lockedGlobals);
    EXPECT_EQ(held.modules, before.modules);
    EXPECT_FALSE(held.clipboardOpen);
}

void FailEachCallInTurn(const std::function<bool()>& operation,
                        const std::function<void()>& expectAfterFailure,
                        const std::function<void()>& prepare,
                        const std::function<bool()>& outcome,
                        const std::vector<StandinCall>& tolerated) {
    const StandinHeld before = StandinHeldResources();
    for (int k = 1;; ++k) {
        SCOPED_TRACE(testing::Message() << "call " << k << " fails");
        StandinResetFaults();
        prepare();
        StandinResetFaults();
        StandinFailAnyCall(k);
        bool succeeded = operation();
        bool beyondCalls = StandinCallsMade() < k;
        StandinCall failed = StandinCall::kCount;
        bool faultMet = StandinPlannedFailureMet(&failed) &&
                        std::find(tolerated.begin(), tolerated.end(), failed) == tolerated.end();
        StandinResetFaults();
        if (outcome) {
            succeeded = outcome();
        }
        ExpectNothingHeld(before);
        if (beyondCalls) {
            EXPECT_TRUE(succeeded);
            EXPECT_GT(k, 1);
            return;
        }
        if (faultMet) {
            EXPECT_FALSE(succeeded);
            expectAfterFailure();
        } else {
            EXPECT_TRUE(succeeded);
        }
        ASSERT_LT(k, 10000);
    }
}

void ShortenEachTransferInTurn(StandinCall call, const std::function<bool()>& operation,
                               const std::function<void()>& expectAfterFailure) {
    const StandinHeld before = StandinHeldResources();
    for (int n = 1;; ++n) {
        SCOPED_TRACE(testing::Message() << "transfer " << n << " comes up short");
        StandinResetFaults();
        StandinShortenCall(call, n, 1);
        bool succeeded = operation();
        StandinResetFaults();
        ExpectNothingHeld(before);
        if (succeeded) {
            EXPECT_GT(n, 1);  // the transfers ran out before the nth
            return;
        }
        expectAfterFailure();
        ASSERT_LT(n, 10000);
    }
}
