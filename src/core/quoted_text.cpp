#include "core/quoted_text.h"

#include <cstdio>

std::string quoted(std::string_view text) {
  std::string shown;
  for (const char c : text) {
    char escape[5] = {c, '\0'};
    const unsigned char byte = static_cast<unsigned char>(c);
    if (c == '\r' || c == '\t' || c == '\\') {
      std::snprintf(escape, sizeof escape, "\\%c", c == '\r' ? 'r' : c == '\t' ? 't' : '\\');
    } else if (byte < 0x20 || byte >= 0x7f) {
      std::snprintf(escape, sizeof escape, "\\x%02x", byte);
    }
    if (shown.size() + std::char_traits<char>::length(escape) > kQuotedLength) {
      shown += "...";
      break;
    }
    shown += escape;
  }
  return "'" + shown + "'";
}
