// SPDX-License-Identifier: GPL-3.0-or-later
// Test-side controls of the scripted fake player module. Tests link the
// module, so these calls reach the same instance that the engine loads.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// Forgets every command, argument vector and option; the entry must not run.
void fake_reset();

// Text commands received through "cmd_direct", oldest first.
int fake_command_count();
// Copies command `index` into `out` (zero-terminated, cut to `size`); false
// for an index out of range.
bool fake_command(int index, char* out, size_t size);

// The argument vector of the last entry call.
int fake_entry_argc();
bool fake_entry_arg(int index, char* out, size_t size);
bool fake_entry_running();
// Number of times the entry was called since the last reset.
int fake_entry_calls();

// Fires one event through the registered callback on the fake's own thread
// and waits until the callback has returned. False when no callback is set.
bool fake_fire(intptr_t data, uint32_t code);

// Lets a running entry report event 16 and return.
void fake_release_entry();

// Whether the entry reports the stop flag (event 21) when it starts; on by default.
void fake_set_report_stop_flag(bool report);
// Whether registering the callback reports event 0 at once; off by default.
void fake_set_ready_on_register(bool ready);
// Whether "quit" ends the entry; on by default.
void fake_set_quit_ends_entry(bool ends);
int32_t fake_stop_flag_value();
void* fake_context();
}
