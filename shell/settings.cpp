#include "shell/settings.h"

Settings settings;
