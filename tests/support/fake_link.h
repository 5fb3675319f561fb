// Helpers for tests that bind the test driver as the program binds a driver.
#pragma once

#include "Dekl.h"
#include "fake_control.h"

#include <array>
#include <cstdint>
#include <vector>

namespace testsupport {

// Resets the test driver and makes the link search its folder first.
void use_fake_drivers();
// Same, with the variant that lacks an entry point.
void use_broken_drivers();

// Opens the link in `data` through the test driver of `kind`, as a
// successful connection would: Handle, Pripojeno, Rozhrani set.
void open_fake_link(TData& data, uint8_t kind = 0);
// Closes it again (Done) if open.
void close_link(TData& data);

// The 8 request values of every Send in the journal, in order.
std::vector<std::array<uint32_t, 8>> sent_requests();

// A reply for fake::push_reply: B0..B4 as the program will see them.
fake::SendReply reply_bytes(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3, uint8_t b4);
// A failed exchange: Send returns 0 with this status.
fake::SendReply reply_status(uint32_t stav);

// A fresh temporary folder standing in for the executable's folder, with
// the per-user folder inside it as "per-user"; returns the first.
QString use_temp_settings_dir();

} // namespace testsupport
