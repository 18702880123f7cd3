#pragma once
// The end-to-end test harness: everything a test needs to start the program, drive its windows
// and read what the virtual instrument saw. See tests/README.md for an example.

#include "harness/controls.h"
#include "harness/instrument_log.h"
#include "harness/keyboard.h"
#include "harness/message_box.h"
#include "harness/program.h"
#include "harness/registry.h"
#include "harness/scratch.h"
#include "harness/screenshot.h"
#include "harness/wait.h"
#include "harness/window_find.h"
