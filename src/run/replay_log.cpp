#include "run/replay_log.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <optional>
#include <cstdint>

namespace {
constexpr int kMaxCoordinate = 1 << 20;  // pointer positions and window edges
constexpr uint64_t kMaxStepMs = uint64_t{1} << 52;
constexpr uint64_t kMaxFileBytes = uint64_t{1} << 52;

// A numeric field: whether it may be negative, and its largest magnitude.
struct Field {
  bool signedValue;
  uint64_t bound;
};
constexpr Field kCoordinate{true, kMaxCoordinate};
constexpr Field kEdge{false, kMaxCoordinate};

struct RecordName {
  RecordKind kind;
  const char* name;
  int numbers;       // numeric fields after the name
  Field field[4];
  bool hashField;    // a hash follows the numbers
};
constexpr RecordName kNames[] = {
    {RecordKind::Window, "window", 2, {kEdge, kEdge}, false},
    {RecordKind::Key, "key", 1, {{false, 255}}, false},
    {RecordKind::SpecialDown, "down", 1, {{false, 0xffff}}, false},
    {RecordKind::SpecialUp, "up", 1, {{false, 0xffff}}, false},
    {RecordKind::Button, "button", 4, {{false, 31}, {false, 1}, kCoordinate, kCoordinate}, false},
    {RecordKind::Motion, "m", 2, {kCoordinate, kCoordinate}, false},
    {RecordKind::Frame, "f", 1, {{false, kMaxStepMs}}, false},
    {RecordKind::Check, "check", 1, {{false, INT32_MAX}}, true},
    {RecordKind::End, "end", 0, {}, true}};

const RecordName* nameOf(RecordKind kind) {
  for (const RecordName& n : kNames) {
    if (n.kind == kind) return &n;
  }
  return nullptr;
}

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  size_t begin = 0;
  while (begin <= line.size()) {
    const size_t end = line.find(' ', begin);
    out.push_back(line.substr(begin, end == std::string::npos ? std::string::npos : end - begin));
    if (end == std::string::npos) break;
    begin = end + 1;
  }
  return out;
}

// Digits only (a leading minus where allowed), within the bound.
bool number(const std::string& text, bool signedValue, uint64_t bound, int64_t* out) {
  size_t i = 0;
  const bool negative = signedValue && !text.empty() && text[0] == '-';
  if (negative) i = 1;
  if (i == text.size()) return false;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    if (value > bound) return false;
  }
  *out = negative ? -static_cast<int64_t>(value) : static_cast<int64_t>(value);
  return true;
}

bool hash(const std::string& text, uint64_t* out) {
  if (text.size() != 16) return false;
  uint64_t value = 0;
  for (char c : text) {
    const char* digits = "0123456789abcdef";
    const char* at = std::strchr(digits, c);
    if (c == '\0' || at == nullptr) return false;
    value = value * 16 + static_cast<uint64_t>(at - digits);
  }
  *out = value;
  return true;
}

bool parseFields(const RecordName& name, const std::vector<std::string>& f, LogRecord* r) {
  const size_t count = static_cast<size_t>(name.numbers) + (name.hashField ? 1 : 0);
  if (f.size() != count + 1) return false;
  int64_t v[4] = {0, 0, 0, 0};
  for (int i = 0; i < name.numbers; ++i) {
    if (!number(f[i + 1], name.field[i].signedValue, name.field[i].bound, &v[i])) return false;
  }
  r->a = static_cast<int>(v[0]);
  r->b = static_cast<int>(v[1]);
  r->c = static_cast<int>(v[2]);
  r->d = static_cast<int>(v[3]);
  r->value = static_cast<uint64_t>(v[0]);
  if (!name.hashField) return true;
  // Only the end line may go without its hash.
  if (name.kind == RecordKind::End && f.back() == "-") return true;
  r->hasHash = hash(f.back(), &r->hash);
  return r->hasHash;
}

bool fail(LogProblem* problem, int line, const std::string& message) {
  problem->line = line;
  problem->message = message;
  return false;
}

// A "setting NAME VALUE" line of the header into the log's settings.
bool parseSetting(const std::vector<std::string>& f, ReplayLog* log) {
  for (int i = 0; i < kRunSettingFieldCount; ++i) {
    const RunSettingField& field = kRunSettingFields[i];
    int64_t value = 0;
    if (f.size() != 3 || f[1] != field.name) continue;
    if (!number(f[2], false, field.max, &value) || value < field.min) return false;
    log->settings.*field.value = static_cast<uint32_t>(value);
    log->held |= 1u << i;
    return true;
  }
  return false;
}

// A "picture NAME SIZE HASH" or "picture NAME -" line of the header.
bool parsePicture(const std::vector<std::string>& f, ReplayLog* log) {
  for (int i = 0; i < kPictureFileCount; ++i) {
    if (f.size() < 3 || f[1] != kPictureFiles[i]) continue;
    DataFileIdentity& picture = log->settings.pictures[i];
    int64_t size = 0;
    if (f.size() == 3) return f[2] == "-";
    picture.found = true;
    if (f.size() != 4 || !number(f[2], false, kMaxFileBytes, &size)) return false;
    picture.size = static_cast<uint64_t>(size);
    return hash(f[3], &picture.hash);
  }
  return false;
}
}  // namespace

std::string formatLogHeader(const char* programVersion, const RunSettings& settings) {
  char line[128];
  std::snprintf(line, sizeof line, "%s %d\nprogram %s\nstart %" PRIu64 "\n", kLogFormat,
                kLogVersion, programVersion, settings.startMs);
  std::string text = line;
  for (int i = 0; i < kRunSettingFieldCount; ++i) {
    const RunSettingField& field = kRunSettingFields[i];
    std::snprintf(line, sizeof line, "setting %s %" PRIu32 "\n", field.name, settings.*field.value);
    text += line;
  }
  for (int i = 0; i < kPictureFileCount; ++i) {
    const DataFileIdentity& picture = settings.pictures[i];
    if (picture.found) {
      std::snprintf(line, sizeof line, "picture %s %" PRIu64 " %016" PRIx64 "\n", kPictureFiles[i],
                    picture.size, picture.hash);
    } else {
      std::snprintf(line, sizeof line, "picture %s -\n", kPictureFiles[i]);
    }
    text += line;
  }
  return text;
}

int formatRecord(const LogRecord& r, char* out) {
  const char* name = nameOf(r.kind)->name;
  switch (r.kind) {
    case RecordKind::Button:
      return std::snprintf(out, kMaxLogLine, "%s %d %d %d %d\n", name, r.a, r.b, r.c, r.d);
    case RecordKind::Window:
    case RecordKind::Motion: return std::snprintf(out, kMaxLogLine, "%s %d %d\n", name, r.a, r.b);
    case RecordKind::Frame:
      return std::snprintf(out, kMaxLogLine, "%s %" PRIu64 "\n", name, r.value);
    case RecordKind::Check:
      return std::snprintf(out, kMaxLogLine, "%s %" PRIu64 " %016" PRIx64 "\n", name, r.value,
                           r.hash);
    case RecordKind::End:
      if (!r.hasHash) return std::snprintf(out, kMaxLogLine, "%s -\n", name);
      return std::snprintf(out, kMaxLogLine, "%s %016" PRIx64 "\n", name, r.hash);
    default: return std::snprintf(out, kMaxLogLine, "%s %d\n", name, r.a);
  }
}

bool parseReplayLog(const std::string& text, ReplayLog* log, LogProblem* problem) {
  *log = ReplayLog{};
  // A log cut short in the middle of a line keeps only its whole lines.
  const size_t whole = text.rfind('\n');
  const std::string body = whole == std::string::npos ? "" : text.substr(0, whole + 1);

  std::vector<std::string> lines;
  for (size_t begin = 0; begin < body.size();) {
    const size_t end = body.find('\n', begin);
    lines.push_back(body.substr(begin, end - begin));
    begin = end + 1;
  }
  if (lines.empty()) return fail(problem, 1, "empty or cut short before its header");

  const std::vector<std::string> first = fields(lines[0]);
  if (first.size() != 2 || first[0] != kLogFormat) {
    return fail(problem, 1, "not a Cryptwell replay log");
  }
  const bool withSettings = first[1] == std::to_string(kLogVersion);
  if (!withSettings && first[1] != "1") {
    return fail(problem, 1, "unknown replay log version '" + first[1] + "'");
  }
  if (lines.size() < 3) return fail(problem, 0, "cut short before the end of its header");
  const std::vector<std::string> program = fields(lines[1]);
  if (program.size() != 2 || program[0] != "program" || program[1].empty()) {
    return fail(problem, 2, "expected 'program VERSION'");
  }
  log->program = program[1];
  const std::vector<std::string> start = fields(lines[2]);
  int64_t startMs = 0;
  if (start.size() != 2 || start[0] != "start" || !number(start[1], false, kMaxStepMs, &startMs)) {
    return fail(problem, 3, "expected 'start MILLISECONDS'");
  }
  log->settings.startMs = static_cast<uint64_t>(startMs);
  log->picturesHeld = withSettings;

  size_t i = 3;
  for (; withSettings && i < lines.size(); ++i) {
    const std::vector<std::string> f = fields(lines[i]);
    bool ok = false;
    if (f[0] == "setting") {
      ok = parseSetting(f, log);
    } else if (f[0] == "picture") {
      ok = parsePicture(f, log);
    } else {
      break;
    }
    if (!ok) return fail(problem, static_cast<int>(i) + 1, "malformed '" + f[0] + "' line");
  }
  std::optional<LogRecord> lastMotion;
  for (; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    if (log->ended) return fail(problem, line, "a record after the end line");
    const std::vector<std::string> f = fields(lines[i]);
    const RecordName* name = nullptr;
    for (const RecordName& n : kNames) {
      if (f[0] == n.name) name = &n;
    }
    if (name == nullptr) return fail(problem, line, "unknown record '" + f[0] + "'");
    LogRecord r{name->kind};
    if (r.kind == RecordKind::Motion && f.size() == 1) {
      if (!lastMotion) return fail(problem, line, "'m' with no place before it");
      r = *lastMotion;
    } else if (!parseFields(*name, f, &r)) {
      return fail(problem, line, std::string("malformed '") + name->name + "' record");
    }
    if (r.kind == RecordKind::Check && r.value != static_cast<uint64_t>(log->frames)) {
      return fail(problem, line, "check of frame " + f[1] + " after frame " +
                                     std::to_string(log->frames));
    }
    if (r.kind == RecordKind::Frame) log->frames += 1;
    if (r.kind == RecordKind::Motion) lastMotion = r;
    if (r.kind == RecordKind::End) log->ended = true;
    log->records.push_back(r);
  }
  return true;
}
