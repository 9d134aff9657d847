// practice-room.exe run as a separate process, as a user would meet it.
#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include "LogExpect.h"
#include "PracticeRoomProcess.h"

#include <doctest/doctest.h>
