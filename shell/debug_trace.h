#pragma once

// Appends a line to the debug trace.
void DebugTrace(const char* text);
