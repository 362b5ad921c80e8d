// The dialog tests' helpers live in tests/support.
#pragma once

#include "support/dialogs.h"
