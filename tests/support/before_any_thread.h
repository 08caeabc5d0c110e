#pragma once

namespace zav::testing {

// Registers a step the tests' main takes first, before the process has a thread besides its own
// (a namespace can only be entered then). Returns true, so that a suite can register its step
// as it initialises a constant of its own.
bool beforeAnyThread(void (*step)());

} // namespace zav::testing
