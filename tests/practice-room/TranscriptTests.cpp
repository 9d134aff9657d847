// The practice room's transcript: whatever a line holds.
#include "PracticeRoomProcess.h"

#include <doctest/doctest.h>
