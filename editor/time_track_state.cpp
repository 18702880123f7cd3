#include "editor/time_track_state.h"

int NextTimeTrackState(int state) {
    switch (NormalTimeTrackState(state)) {
    case timeTrackOff:
        return timeTrackPositive;
    case timeTrackPositive:
        return timeTrackNegative;
    default:
        return timeTrackOff;
    }
}

int NormalTimeTrackState(int state) {
    return state >= timeTrackNegative && state <= timeTrackPositive ? state : timeTrackOff;
}

int TimeTrackSwitchBits(int state) {
    switch (NormalTimeTrackState(state)) {
    case timeTrackPositive:
        return 0x01;
    case timeTrackNegative:
        return 0x11;
    default:
        return 0;
    }
}

const char* TimeTrackLabel(int state, bool upperHalf) {
    static const char* const labels[2][3] = {{"VS-", "VS", "VS+"}, {"KT-", "KT", "KT+"}};
    return labels[upperHalf ? 1 : 0][NormalTimeTrackState(state)];
}

bool TimeTrackUpperHalf(int y, int height) {
    return y < (height + 1) / 2;
}

long PackTimeTrackStates(int tracking, int velocity) {
    return static_cast<long>(NormalTimeTrackState(tracking) | NormalTimeTrackState(velocity) << 16);
}

int TrackingOfPacked(long packed) {
    return NormalTimeTrackState(static_cast<int>(packed & 0xFFFF));
}

int VelocityOfPacked(long packed) {
    return NormalTimeTrackState(static_cast<int>((packed >> 16) & 0xFFFF));
}
