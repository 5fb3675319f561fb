// What km207-sim needs from its platform beyond the servers: signals, the
// link to the pseudo-terminal and text on a console. One file per platform.
#pragma once

#include <cstdio>
#include <string>

namespace km::emu {

// `stop` on an interrupt or a request to end; `cycle` on the power-cycle
// signal (SIGUSR1) and `toggle` on the power-switch signal (SIGUSR2) where
// the platform has them.
void install_signals(void (*stop)(int), void (*cycle)(int), void (*toggle)(int));
// Makes `link` a symbolic link to `target`, replacing what was there.
bool make_link(const std::string& target, const std::string& link, std::string& error);
void remove_link(const std::string& link);
// Words for a person (UTF-8) on `stream`, flushed: a Windows console takes
// them as wide characters, as its code page would garble the bytes.
void write_text(std::FILE* stream, const std::string& text);

} // namespace km::emu
