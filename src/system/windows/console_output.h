#pragma once

namespace quorvel {

// Lets std::cout and std::cerr carry the program's UTF-8 text to a console:
// where either is a console, its text is written there as UTF-16
// (WriteConsoleW), whatever the console's code page; redirected to a file or
// a pipe, the UTF-8 bytes go out unchanged. Call it once, before writing.
void WriteUtf8ToConsoles();

} // namespace quorvel
