#include "platform/posix/standin_internal.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kCallKinds = static_cast<int>(StandinCall::kCount);

struct FaultPlan {
    int callsUntilFailure[kCallKinds];  // 0: no failure planned
    int callsUntilShort[kCallKinds];
    DWORD shortBytes[kCallKinds];
    int anyCallsUntilFailure;
    int callsMade;
    SIZE_T largestHeapRequest;
    uint64_t moduleBytesRead;
    bool failureMet;
    StandinCall failedCall;
};

FaultPlan g_plan{};

// Counts down a plan; true on the call it was set for.
bool CountDown(int* callsLeft) {
    if (*callsLeft == 0) {
        return false;
    }
    --*callsLeft;
    return *callsLeft == 0;
}

}  // namespace

StandinHeld g_standinHeld{};

StandinHeld StandinHeldResources() { return g_standinHeld; }

void StandinFailCall(StandinCall call, int nth) {
    g_plan.callsUntilFailure[static_cast<int>(call)] = nth > 0 ? nth : 0;
}

void StandinShortenCall(StandinCall call, int nth, DWORD bytes) {
    int kind = static_cast<int>(call);
    g_plan.callsUntilShort[kind] = nth > 0 ? nth : 0;
    g_plan.shortBytes[kind] = bytes;
}

void StandinFailAnyCall(int k) { g_plan.anyCallsUntilFailure = k > 0 ? k : 0; }

int StandinCallsMade() { return g_plan.callsMade; }

bool StandinPlannedFailureMet(StandinCall* call) {
    if (g_plan.failureMet && call != nullptr) {
        *call = g_plan.failedCall;
    }
    return g_plan.failureMet;
}

SIZE_T StandinLargestHeapRequest() { return g_plan.largestHeapRequest; }

uint64_t StandinModuleBytesRead() { return g_plan.moduleBytesRead; }

void StandinNoteModuleRead(uint64_t bytes) { g_plan.moduleBytesRead += bytes; }

void StandinNoteHeapRequest(SIZE_T bytes) {
    if (bytes > g_plan.largestHeapRequest) {
        g_plan.largestHeapRequest = bytes;
    }
}

void StandinResetFaults() { g_plan = FaultPlan{}; }

bool StandinCallFails(StandinCall call) {
    int kind = static_cast<int>(call);
    ++g_plan.callsMade;
    bool planned = CountDown(&g_plan.callsUntilFailure[kind]);
    bool any = CountDown(&g_plan.anyCallsUntilFailure);
    if (planned || any) {
        g_plan.failureMet = true;
        g_plan.failedCall = call;
    }
    return planned || any;
}

bool StandinTransferFails(StandinCall call, DWORD* count) {
    if (StandinCallFails(call)) {
        return true;
    }
    int kind = static_cast<int>(call);
    if (CountDown(&g_plan.callsUntilShort[kind]) && *count > g_plan.shortBytes[kind]) {
        *count = g_plan.shortBytes[kind];
    }
    return false;
}

void StandinMisuse(const char* what) {
    std::fprintf(stderr, "win32 stand-in: API misuse: %s\n", what);
    std::abort();
}
