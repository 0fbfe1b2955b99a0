#pragma once

// Kept for the tests that include it: the modal-box helper lives in TestSupport.h.
#include "TestSupport.h"
