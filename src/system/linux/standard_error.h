#pragma once

#include <ostream>
#include <string_view>

namespace quorvel {

// The terminal without the standard streams: setting std::cerr and its
// siblings up builds every facet of the classic locale at every start,
// half a megabyte of a program that seldom prints a line.

// `text` as it is, whole, on standard error or standard output.
void PrintError(std::string_view text);
void PrintOutput(std::string_view text);

// "<this program's file name>: <text>" and a line's end on standard error.
void PrintErrorLine(std::string_view text);

// A stream to standard error, set up the first time it is asked for.
std::ostream& StandardErrorStream();

} // namespace quorvel
