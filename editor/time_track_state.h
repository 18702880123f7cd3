#pragma once

// The two halves of a time-track switch (keyboard tracking above, velocity sensing below), each
// held as the switch state plus one: 0 negative, 1 off, 2 positive.
inline constexpr int timeTrackNegative = 0;
inline constexpr int timeTrackOff = 1;
inline constexpr int timeTrackPositive = 2;

// A click steps off -> positive -> negative -> off.
int NextTimeTrackState(int state);
// Anything but 0, 1 or 2 is taken as off, so a bad state never picks a brush or a label.
int NormalTimeTrackState(int state);
// What one stage puts into a switch byte before it is shifted by the stage number: 0 off,
// 0x01 on, 0x11 on and negative.
int TimeTrackSwitchBits(int state);
// "KT", "KT+", "KT-" for the upper half, "VS", "VS+", "VS-" for the lower.
const char* TimeTrackLabel(int state, bool upperHalf);
// The upper half takes the middle row of an odd height.
bool TimeTrackUpperHalf(int y, int height);

// Both states in the control's four window bytes: tracking in the low word, velocity above.
long PackTimeTrackStates(int tracking, int velocity);
int TrackingOfPacked(long packed);
int VelocityOfPacked(long packed);
