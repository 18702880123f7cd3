#pragma once
// The message box watch moved into the support library; this name stays for tests that include it.
#include "support/windows_test_support.h"

using wintest::MessageBoxWatch;
using wintest::ShownBox;
