#include "run/replay_log.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "core/quoted_text.h"

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

// A line split at its spaces, in place; a line of more fields than any
// record has keeps count above kMaxFields.
constexpr size_t kMaxFields = 5;
struct Fields {
  std::string_view field[kMaxFields];
  size_t count = 0;
  std::string_view operator[](size_t i) const { return field[i]; }
  size_t size() const { return count; }
  std::string_view back() const { return field[count - 1]; }
};

Fields fields(std::string_view line) {
  Fields out;
  for (;;) {
    const size_t end = line.find(' ');
    if (out.count == kMaxFields) {
      out.count += 1;
      return out;
    }
    out.field[out.count++] = line.substr(0, end);
    if (end == std::string_view::npos) return out;
    line.remove_prefix(end + 1);
  }
}

// Digits only (a leading minus where allowed), within the bound.
bool number(std::string_view text, bool signedValue, uint64_t bound, int64_t* out) {
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

bool hash(std::string_view text, uint64_t* out) {
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

bool parseFields(const RecordName& name, const Fields& f, LogRecord* r) {
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

// A "setting NAME VALUE" line of the header into the log's settings.
bool parseSetting(const Fields& f, ReplayLog* log) {
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
bool parsePicture(const Fields& f, ReplayLog* log) {
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
  char line[kMaxLogLine];
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

LogReader::Line LogReader::readLine() {
  for (;;) {
    const char* start = buffer_ + begin_;
    const void* newline = std::memchr(start, '\n', end_ - begin_);
    if (newline != nullptr) {
      line_ = start;
      length_ = static_cast<size_t>(static_cast<const char*>(newline) - start);
      begin_ += length_ + 1;
      lineNumber_ += 1;
      return length_ > kMaxLogLine ? Line::TooLong : Line::Whole;
    }
    if (end_ - begin_ > kMaxLogLine) {
      lineNumber_ += 1;
      return Line::TooLong;
    }
    // The start of a line stays; the rest of the buffer is read again.
    std::memmove(buffer_, start, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    const size_t got = std::fread(buffer_ + end_, 1, sizeof buffer_ - end_, file_);
    if (got == 0) return std::ferror(file_) != 0 ? Line::Unreadable : Line::None;
    end_ += got;
  }
}

bool LogReader::fail(LogProblem* problem, const std::string& message) const {
  problem->line = lineNumber_;
  problem->message = message;
  return false;
}

// False with the problem unless `line` is a whole one; `beforeWhat` is
// where a log that ends here was cut short, or null where it may end.
bool LogReader::lineProblem(Line line, const char* beforeWhat, LogProblem* problem) {
  switch (line) {
    case Line::Whole: return true;
    case Line::TooLong:
      return fail(problem, "a line longer than " + std::to_string(kMaxLogLine) + " bytes");
    case Line::Unreadable: lineNumber_ += 1; return fail(problem, std::strerror(errno));
    case Line::None:
      if (beforeWhat == nullptr) return false;
      lineNumber_ += 1;
      return fail(problem, beforeWhat);
  }
  return false;
}

bool LogReader::readHeader(ReplayLog* log, LogProblem* problem) {
  *log = ReplayLog{};
  if (!lineProblem(readLine(), "empty or cut short before its header", problem)) return false;
  const Fields first = fields({line_, length_});
  if (first.size() != 2 || first[0] != kLogFormat) return fail(problem, "not a Cryptwell replay log");
  const bool withSettings = first[1] == std::to_string(kLogVersion);
  if (!withSettings && first[1] != "1") {
    return fail(problem, "unknown replay log version " + quoted(first[1]));
  }
  constexpr const char* kHeaderCut = "cut short before the end of its header";
  if (!lineProblem(readLine(), kHeaderCut, problem)) return false;
  const Fields program = fields({line_, length_});
  if (program.size() != 2 || program[0] != "program" || program[1].empty()) {
    return fail(problem, "expected 'program VERSION'");
  }
  log->program = program[1];
  if (!lineProblem(readLine(), kHeaderCut, problem)) return false;
  const Fields start = fields({line_, length_});
  int64_t startMs = 0;
  if (start.size() != 2 || start[0] != "start" || !number(start[1], false, kMaxStepMs, &startMs)) {
    return fail(problem, "expected 'start MILLISECONDS'");
  }
  log->settings.startMs = static_cast<uint64_t>(startMs);
  log->picturesHeld = withSettings;
  while (withSettings) {
    const Line line = readLine();
    if (line == Line::None) break;
    if (!lineProblem(line, nullptr, problem)) return false;
    const Fields f = fields({line_, length_});
    bool ok = false;
    if (f[0] == "setting") {
      ok = parseSetting(f, log);
    } else if (f[0] == "picture") {
      ok = parsePicture(f, log);
    } else {
      lineKept_ = true;  // the first record
      break;
    }
    if (!ok) return fail(problem, "malformed '" + std::string(f[0]) + "' line");
  }
  return true;
}

LogReader::Next LogReader::bad(LogProblem* problem, const std::string& message) const {
  fail(problem, message);
  return Next::Bad;
}

LogReader::Next LogReader::nextRecord(LogRecord* record, LogProblem* problem) {
  const Line line = lineKept_ ? Line::Whole : readLine();
  lineKept_ = false;
  if (line == Line::None) return Next::Finished;
  if (!lineProblem(line, nullptr, problem)) return Next::Bad;
  if (ended_) return bad(problem, "a record after the end line");
  const Fields f = fields({line_, length_});
  const RecordName* name = nullptr;
  for (const RecordName& n : kNames) {
    if (f[0] == n.name) name = &n;
  }
  if (name == nullptr) return bad(problem, "unknown record " + quoted(f[0]));
  LogRecord r{name->kind};
  if (r.kind == RecordKind::Motion && f.size() == 1) {
    if (!haveMotion_) return bad(problem, "'m' with no place before it");
    r = lastMotion_;
  } else if (!parseFields(*name, f, &r)) {
    return bad(problem, std::string("malformed '") + name->name + "' record");
  }
  if (r.kind == RecordKind::Check && r.value != static_cast<uint64_t>(frames_)) {
    return bad(problem, "check of frame " + std::to_string(r.value) + " after frame " +
                            std::to_string(frames_));
  }
  if (r.kind == RecordKind::Frame) frames_ += 1;
  if (r.kind == RecordKind::Motion) {
    haveMotion_ = true;
    lastMotion_ = r;
  }
  if (r.kind == RecordKind::End) ended_ = true;
  *record = r;
  return Next::Record;
}

bool scanReplayLog(std::FILE* file, ReplayLog* log, LogProblem* problem) {
  LogReader reader(file);
  if (!reader.readHeader(log, problem)) return false;
  LogRecord record{RecordKind::End};
  LogReader::Next next;
  while ((next = reader.nextRecord(&record, problem)) == LogReader::Next::Record) {
  }
  log->frames = reader.frames();
  log->ended = reader.ended();
  return next == LogReader::Next::Finished;
}
