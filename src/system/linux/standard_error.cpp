#include "system/linux/standard_error.h"

#include <cstdio>
#include <streambuf>
#include <string>

#include "system/linux/program_environment.h"

namespace quorvel {

namespace {

void Write(std::FILE* file, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fflush(file);
}

// Hands what the stream is given to standard error as it comes, as the
// unbuffered std::cerr does.
class StandardErrorBuffer final : public std::streambuf {
protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) {
            return traits_type::not_eof(c);
        }
        return std::fputc(traits_type::to_char_type(c), stderr) == EOF ? traits_type::eof() : c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        return static_cast<std::streamsize>(std::fwrite(text, 1, static_cast<std::size_t>(count), stderr));
    }
    int sync() override { return std::fflush(stderr) == 0 ? 0 : -1; }
};

} // namespace

void PrintError(std::string_view text) {
    Write(stderr, text);
}

void PrintOutput(std::string_view text) {
    Write(stdout, text);
}

void PrintErrorLine(std::string_view text) {
    PrintError(ThisExecutable().filename().string() + ": " + std::string(text) + "\n");
}

std::ostream& StandardErrorStream() {
    static StandardErrorBuffer buffer;
    static std::ostream stream(&buffer);
    return stream;
}

} // namespace quorvel
