#include "system/windows/console_output.h"

#include <windows.h>

#include <cstdio>
#include <iostream>
#include <streambuf>
#include <string_view>

#include "system/windows/wide_text.h"

namespace quorvel {

namespace {

// The bytes at the end of `text` that begin a UTF-8 sequence still missing
// its last bytes: they wait for the next write rather than become a
// replacement character.
std::size_t IncompleteTail(std::string_view text) {
    for (std::size_t back = 1; back <= 3 && back <= text.size(); ++back) {
        const auto c = static_cast<unsigned char>(text[text.size() - back]);
        if ((c & 0xC0) != 0x80) {
            const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
            return length > back ? back : 0;
        }
    }
    return 0;
}

class ConsoleBuffer final : public std::streambuf {
public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) { setp(buffer_, buffer_ + sizeof buffer_); }

protected:
    int_type overflow(int_type c) override {
        write(false);
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override {
        write(true);
        return 0;
    }

private:
    void write(bool whole) {
        const std::string_view text(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        const std::size_t tail = whole ? 0 : IncompleteTail(text);
        const std::wstring wide = WideFromUtf8(text.substr(0, text.size() - tail));
        DWORD written = 0;
        if (!wide.empty()) {
            ::WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        }
        std::char_traits<char>::move(buffer_, text.data() + text.size() - tail, tail);
        setp(buffer_, buffer_ + sizeof buffer_);
        pbump(static_cast<int>(tail));
    }

    HANDLE console_;
    char buffer_[1024];
};

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) != 0;
}

} // namespace

void WriteUtf8ToConsoles() {
    // Never freed: std::cout is flushed after every static object has gone.
    if (const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE); IsConsole(output)) {
        std::cout.flush();
        std::cout.rdbuf(new ConsoleBuffer(output));
    }
    if (const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE); IsConsole(error)) {
        std::cerr.flush();
        std::cerr.rdbuf(new ConsoleBuffer(error));
    }
}

} // namespace quorvel
