// The time-out that means none, shared by the framework's waits and the window layer's.
#pragma once

#include <cstdint>

constexpr uint32_t INFINITE = 0xFFFFFFFFu;
