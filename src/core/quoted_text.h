// Input shown inside a message: a field of a replay log or a value on the
// command line, quoted so that it cannot reach the terminal as anything but
// plain text and cannot make the message long.
#pragma once
#include <string>
#include <string_view>

// How many characters a message shows of a field, escapes included; a
// longer one is cut and ends in "...".
constexpr size_t kQuotedLength = 60;

// 'text' in single quotes: control bytes, DEL and every byte past ASCII
// written as \xNN (a carriage return as \r, a tab as \t), a backslash as
// \\, and no more than kQuotedLength characters of that.
std::string quoted(std::string_view text);
