#pragma once

// Kept for the tests that include it: the view helpers live in TestSupport.h.
#include "TestSupport.h"
