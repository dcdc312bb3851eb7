#include "core/quoted_text.h"

#include <cstdio>

std::string quoted(std::string_view text) {
  std::string out = "'";
  size_t shown = 0;
  for (const char c : text) {
    if (shown == kQuotedLength) {
      out += "...";
      break;
    }
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (byte < 0x20 || byte >= 0x7f) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02x", byte);
      out += escape;
    } else {
      out += c;
    }
    shown += 1;
  }
  return out + "'";
}
