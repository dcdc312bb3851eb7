// The replay log's text: every record written reads back the same, a log
// cut short keeps its whole lines, and each kind of bad log is refused with
// the line it is on, quoting what it found safely.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "run/replay_log.h"

namespace {

struct ParsedLog : ReplayLog {
  std::vector<LogRecord> records;
};

// The whole text through the reader, from a file as a replay reads it.
bool parseReplayLog(const std::string& text, ParsedLog* log, LogProblem* problem) {
  std::FILE* file = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  LogReader reader(file);
  *log = ParsedLog{};
  bool ok = reader.readHeader(log, problem);
  LogRecord record{RecordKind::End};
  LogReader::Next next = LogReader::Next::Finished;
  while (ok && (next = reader.nextRecord(&record, problem)) == LogReader::Next::Record) {
    log->records.push_back(record);
  }
  std::fclose(file);
  log->frames = reader.frames();
  log->ended = reader.ended();
  return ok && next == LogReader::Next::Finished;
}

// A header with every setting off its default and one picture missing.
RunSettings recordedSettings() {
  RunSettings s;
  s.fullScreen = 0, s.windowWidth = 800, s.windowHeight = 600, s.framesPerSecond = 30;
  s.seed = 4294967295u, s.startMs = 4294967290ull;
  for (DataFileIdentity& p : s.pictures) p = {true, 196662, 0x0123456789abcdefull};
  s.pictures[2].found = false;
  return s;
}
std::string header() { return formatLogHeader("1.2.3", recordedSettings()); }
// The header of a log written before the settings were recorded.
const std::string kVersion1Header = "cryptwell-replay 1\nprogram 1.2.3\nstart 4294967290\n";

TEST(ReplayLog, EveryRecordReadsBackAsItWasWritten) {
  std::vector<LogRecord> written;
  const auto add = [&](RecordKind kind, int a, int b, int c, int d, uint64_t value) {
    LogRecord r{kind};
    r.a = a, r.b = b, r.c = c, r.d = d, r.value = value;
    written.push_back(r);
  };
  add(RecordKind::Window, 1024, 768, 0, 0, 1024);
  add(RecordKind::Motion, -20, 900, 0, 0, static_cast<uint64_t>(-20));
  add(RecordKind::Key, 255, 0, 0, 0, 255);
  add(RecordKind::SpecialDown, 101, 0, 0, 0, 101);
  add(RecordKind::SpecialUp, 101, 0, 0, 0, 101);
  add(RecordKind::Button, 2, 1, -3, 4, 2);
  add(RecordKind::Frame, 0, 0, 0, 0, 100000);
  add(RecordKind::Frame, 0, 0, 0, 0, 0);
  LogRecord check{RecordKind::Check};
  check.value = 2;
  check.hash = 0x0123456789abcdefull;
  check.hasHash = true;
  written.push_back(check);
  LogRecord end{RecordKind::End};
  end.hash = 0xfedcba9876543210ull;
  end.hasHash = true;
  written.push_back(end);

  std::string text = header();
  for (const LogRecord& r : written) {
    char line[kMaxLogLine];
    text.append(line, static_cast<size_t>(formatRecord(r, line)));
  }
  // The short motion: to the place of the last one.
  text.insert(text.find("key "), kSamePlaceMotion);
  const LogRecord motion = written[1];
  written.insert(written.begin() + 2, motion);
  ParsedLog log;
  LogProblem problem;
  ASSERT_TRUE(parseReplayLog(text, &log, &problem)) << problem.line << ": " << problem.message;
  EXPECT_EQ(log.program, "1.2.3");
  const RunSettings want = recordedSettings();
  EXPECT_EQ(log.held, (1u << kRunSettingFieldCount) - 1);
  for (int i = 0; i < kRunSettingFieldCount; ++i) {
    EXPECT_EQ(log.settings.*kRunSettingFields[i].value, want.*kRunSettingFields[i].value) << i;
  }
  EXPECT_EQ(log.settings.startMs, want.startMs);
  EXPECT_EQ(pictureDifferences(log.settings, want), "");
  EXPECT_EQ(log.frames, 2);
  EXPECT_TRUE(log.ended);
  ASSERT_EQ(log.records.size(), written.size());
  for (size_t i = 0; i < written.size(); ++i) {
    const LogRecord& a = written[i];
    const LogRecord& b = log.records[i];
    EXPECT_EQ(a.kind, b.kind) << i;
    EXPECT_EQ(b.hasHash, a.hasHash) << i;
    EXPECT_EQ(b.hash, a.hash) << i;
    if (a.kind == RecordKind::Frame || a.kind == RecordKind::Check) {
      EXPECT_EQ(b.value, a.value) << i;
    }
    if (a.kind == RecordKind::Frame || a.kind == RecordKind::Check || a.kind == RecordKind::End) {
      continue;
    }
    EXPECT_EQ(std::vector<int>({b.a, b.b, b.c, b.d}), std::vector<int>({a.a, a.b, a.c, a.d})) << i;
  }
}

TEST(ReplayLog, ALogCutShortKeepsItsWholeLines) {
  ParsedLog log;
  LogProblem problem;
  ASSERT_TRUE(parseReplayLog(header() + "f 5\nkey 32\nf 16\nf 1", &log, &problem));
  EXPECT_EQ(log.frames, 2);  // "f 1" has no newline: it may have been "f 17"
  EXPECT_FALSE(log.ended);
  ASSERT_TRUE(parseReplayLog(header() + "f 5\nend -\n", &log, &problem));
  EXPECT_TRUE(log.ended);
  EXPECT_FALSE(log.records.back().hasHash);
}

TEST(ReplayLog, ABadLogNamesItsLineAndProblem) {
  const std::string h = kVersion1Header;
  const struct {
    std::string text;
    int line;
    std::string message;
  } cases[] = {
      {"", 1, "empty"},
      {"#!/bin/sh\necho\n", 1, "not a Cryptwell replay log"},
      {"cryptwell-replay 3\nprogram 1\nstart 0\n", 1, "unknown replay log version '3'"},
      {header() + "setting seed -1\n", 15, "malformed 'setting' line"},
      {header() + "setting speed 2\n", 15, "malformed 'setting' line"},
      {header() + "picture font.bmp 12\n", 15, "malformed 'picture' line"},
      {"cryptwell-replay 1\n", 2, "cut short before the end of its header"},
      {"cryptwell-replay 1\nversion 1\nstart 0\n", 2, "expected 'program VERSION'"},
      {"cryptwell-replay 1\nprogram 1\nstart -5\n", 3, "expected 'start MILLISECONDS'"},
      {h + "f 16\njump 3\n", 5, "unknown record 'jump'"},
      {h + "f 16\nf\n", 5, "malformed 'f' record"},
      {h + "f 1e3\n", 4, "malformed 'f' record"},
      {h + "key 256\n", 4, "malformed 'key' record"},
      {h + "m 1  2\n", 4, "malformed 'm' record"},
      {h + "f 1\nm\n", 5, "'m' with no place before it"},
      {h + "button 0 2 1 1\n", 4, "malformed 'button' record"},
      {h + "window 800 600 1\n", 4, "malformed 'window' record"},
      {h + "f 1\ncheck 1 0123456789ABCDEF\n", 5, "malformed 'check' record"},
      {h + "f 1\ncheck 60 0123456789abcdef\n", 5, "check of frame 60 after frame 1"},
      {h + "end 12\n", 4, "malformed 'end' record"},
      {h + "end -\nf 1\n", 5, "a record after the end line"},
      // What a message quotes stays short and never reaches the terminal raw.
      {"cryptwell-replay 1\r\nprogram 1\r\n", 1, "unknown replay log version '1\\r'"},
      {std::string("cryptwell-replay 1\0\x1b]0;owned\x07\xc3\xa9\n", 32), 1,
       "unknown replay log version '1\\x00\\x1b]0;owned\\x07\\xc3\\xa9'"},
      {h + std::string(100, 'a') + "\n", 4, "unknown record '" + std::string(60, 'a') + "...'"},
      {h + "f 1\n" + std::string(129, 'f') + "\n", 5, "a line longer than 128 bytes"},
  };
  for (const auto& c : cases) {
    ParsedLog log;
    LogProblem problem;
    EXPECT_FALSE(parseReplayLog(c.text, &log, &problem)) << c.text;
    EXPECT_EQ(problem.line, c.line) << c.text;
    EXPECT_EQ(problem.message.rfind(c.message, 0), 0u) << c.text << " -> " << problem.message;
  }
}

}  // namespace
