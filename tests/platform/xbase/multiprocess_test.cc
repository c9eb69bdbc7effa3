// Two real processes sharing one table: appends and updates are neither lost nor doubled, the
// index stays exact, and locks are where every other xBase program looks for them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/xbase/cursor.h"
#include "platform/xbase/error.h"
#include "platform/xbase/julian_date.h"
#include "platform/xbase/table_maintenance.h"
#include "tests/support/temp_dir.h"

namespace xbase {
namespace {

using testing_support::TempDir;

// Runs `body` in a child process; the child's exit code is 0 when the body returned normally.
pid_t Spawn(const std::function<void()>& body) {
  pid_t pid = ::fork();
  if (pid == 0) {
    int code = 0;
    try {
      body();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "child: %s\n", e.what());
      code = 1;
    }
    std::fflush(nullptr);
    ::_exit(code);
  }
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

void Retry(const std::function<bool()>& attempt) {
  while (!attempt()) std::this_thread::sleep_for(std::chrono::microseconds(200));
}

void ExpectSound(const std::string& path) {
  for (const VerifyReport& r : Verify(path)) {
    for (const std::string& p : r.problems) ADD_FAILURE() << r.tag << ": " << p;
  }
}

TEST(MultiProcessTest, TwoProcessesAppendingKeepEveryRecordAndKeyExactlyOnce) {
  TempDir dir;
  std::string path = dir.File("DET_FOL.DBF");
  CreateTable(path,
              {{"NEGOCIO", 'C', 15},
               {"NUMERO", 'C', 15},
               {"GRUPO", 'C', 4},
               {"CONSECUT", 'C', 6},
               {"FECHA", 'D', 8},
               {"HORA", 'C', 8}},
              {{"DET_FOL", "NEGOCIO+NUMERO+CONSECUT", ""},
               {"DET_FOL13", "NEGOCIO+NUMERO+GRUPO+CONSECUT", ""},
               {"DET_FOL4", "DTOS(FECHA)+HORA", ""}});
  constexpr int kPerProcess = 5000;
  auto appender = [&](const std::string& numero) {
    return [&, numero] {
      Cursor c(path);
      for (int i = 0; i < kPerProcess; ++i) {
        Retry([&] { return c.Append(); });
        c.Put("NEGOCIO", Value::Character("HOTEL1"));
        c.Put("NUMERO", Value::Character(numero));
        c.Put("GRUPO", Value::Character(std::to_string(i % 10)));
        c.Put("CONSECUT", Value::Character(std::to_string(100000 + i)));
        c.Put("FECHA", Value::Date(JulianDay(2024, 1 + i % 12, 1 + i % 28)));
        c.Put("HORA", Value::Character(numero));
        c.Unlock();
      }
    };
  };
  pid_t a = Spawn(appender("A"));
  pid_t b = Spawn(appender("B"));
  ASSERT_EQ(WaitFor(a), 0);
  ASSERT_EQ(WaitFor(b), 0);

  Cursor c(path);
  EXPECT_EQ(c.RecCount(), 2u * kPerProcess);
  c.SetOrder("DET_FOL");
  for (const char* numero : {"A", "B"}) {
    for (int i = 0; i < kPerProcess; i += 97) {
      std::string key = "HOTEL1         " + std::string(numero) + std::string(14, ' ') +
                        std::to_string(100000 + i);
      ASSERT_TRUE(c.SeekBytes(key)) << key;
    }
  }
  c.Close();
  ExpectSound(path);
}

TEST(MultiProcessTest, ConcurrentUpdatesUnderRecordLocksLoseNothing) {
  TempDir dir;
  std::string path = dir.File("COUNTS.DBF");
  CreateTable(path, {{"ID", 'N', 4}, {"CNT", 'N', 10}}, {{"CNT", "STR(CNT,10)+STR(ID,4)", ""}});
  constexpr int kRecords = 20, kIncrements = 400;
  {
    Cursor c(path);
    for (int i = 1; i <= kRecords; ++i) {
      ASSERT_TRUE(c.Append());
      c.Put("ID", Value::Numeric(i));
      c.Put("CNT", Value::Numeric(0));
      c.Unlock();
    }
  }
  auto incrementer = [&](unsigned seed) {
    return [&, seed] {
      Cursor c(path);
      unsigned state = seed;
      for (int i = 0; i < kIncrements; ++i) {
        state = state * 1103515245u + 12345u;
        c.GoTo(1 + (state >> 16) % kRecords);
        Retry([&] { return c.RLock(); });
        c.Put("CNT", Value::Numeric(c.Get("CNT").num + 1));
        c.Unlock();
      }
    };
  };
  pid_t a = Spawn(incrementer(1));
  pid_t b = Spawn(incrementer(2));
  ASSERT_EQ(WaitFor(a), 0);
  ASSERT_EQ(WaitFor(b), 0);
  Cursor c(path);
  double total = 0;
  for (c.GoTop(); !c.Eof(); c.Skip(1)) total += c.Get("CNT").num;
  EXPECT_EQ(total, 2 * kIncrements);
  c.Close();
  ExpectSound(path);
}

TEST(MultiProcessTest, LockHeldElsewhereIsNotObtainedUntilReleased) {
  TempDir dir;
  std::string path = dir.File("LOCKS.DBF");
  CreateTable(path, {{"A", 'C', 5}}, {{"A", "A", ""}});
  {
    Cursor c(path);
    for (int i = 0; i < 3; ++i) {
      ASSERT_TRUE(c.Append());
      c.Unlock();
    }
  }
  int to_child[2], to_parent[2];
  ASSERT_EQ(::pipe(to_child), 0);
  ASSERT_EQ(::pipe(to_parent), 0);
  char byte = 0;
  pid_t child = Spawn([&] {
    Cursor c(path);
    c.GoTo(2);
    if (!c.RLock()) throw std::runtime_error("child could not lock");
    if (::write(to_parent[1], "L", 1) != 1 || ::read(to_child[0], &byte, 1) != 1) return;
    c.Unlock();
    if (::write(to_parent[1], "U", 1) != 1 || ::read(to_child[0], &byte, 1) != 1) return;
  });
  ASSERT_EQ(::read(to_parent[0], &byte, 1), 1);

  // Record 2 of a table with a structural index is locked at byte 0x7FFFFFFE - 2 of the DBF.
  int fd = ::open(path.c_str(), O_RDWR);
  struct flock probe = {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = 0x7FFFFFFE - 2;
  probe.l_len = 1;
  ASSERT_EQ(::fcntl(fd, F_GETLK, &probe), 0);
  EXPECT_EQ(probe.l_type, F_WRLCK);
  EXPECT_EQ(probe.l_pid, child);
  ::close(fd);

  {
    Cursor c(path);
    c.GoTo(2);
    EXPECT_FALSE(c.RLock());
    c.GoTo(3);
    EXPECT_TRUE(c.RLock());  // other records stay free
    c.Unlock();
    ASSERT_EQ(::write(to_child[1], "1", 1), 1);
    ASSERT_EQ(::read(to_parent[0], &byte, 1), 1);
    c.GoTo(2);
    EXPECT_TRUE(c.RLock());
    c.Unlock();
  }
  ASSERT_EQ(::write(to_child[1], "2", 1), 1);
  EXPECT_EQ(WaitFor(child), 0);
}

TEST(MultiProcessTest, RecordsAppendedElsewhereAreSeenByAnOpenCursor) {
  TempDir dir;
  std::string path = dir.File("GROW.DBF");
  CreateTable(path, {{"A", 'C', 5}}, {{"A", "A", ""}});
  Cursor reader(path);
  auto append = [&](const char* value) {
    return Spawn([&, value] {
      Cursor c(path);
      Retry([&] { return c.Append(); });
      c.Put("A", Value::Character(value));
      c.Unlock();
    });
  };
  ASSERT_EQ(WaitFor(append("one")), 0);
  reader.GoTop();
  ASSERT_FALSE(reader.Eof());
  ASSERT_EQ(WaitFor(append("two")), 0);
  reader.Skip(1);  // physical order: past the count it saw, it asks the file again
  ASSERT_FALSE(reader.Eof());
  EXPECT_EQ(reader.Get("A").str, "two  ");
  ASSERT_EQ(WaitFor(append("zzz")), 0);
  reader.SetOrder("A");
  reader.GoBottom();  // the index changed elsewhere: its cached pages are not trusted
  EXPECT_EQ(reader.Get("A").str, "zzz  ");
  EXPECT_EQ(reader.RecCount(), 3u);
}

TEST(MultiProcessTest, ReadingAheadSeesWhatAnotherProcessChangedBetweenRuns) {
  TempDir dir;
  std::string path = dir.File("RUN.DBF");
  CreateTable(path, {{"K", 'C', 4}}, {{"K", "K", ""}});
  {
    Cursor c(path, {ShareMode::kExclusive, false, true});
    for (const char* key : {"A001", "A002", "A004", "A005", "A007", "B001"}) {
      c.Append();
      c.Put("K", Value::Character(key));
    }
  }
  Cursor reader(path);
  reader.SetOrder("K");
  ASSERT_TRUE(reader.Seek(Value::Character("A")));
  std::vector<RunRecord> run;
  ASSERT_EQ(reader.ReadRun("A", 2, run), 2u);  // A001, A002; the cursor then stands on A004
  pid_t other = Spawn([&] {
    Cursor c(path);
    Retry([&] { return c.Append(); });
    c.Put("K", Value::Character("A006"));
    c.Unlock();
    c.SetOrder("K");
    if (!c.Seek(Value::Character("A005"))) throw Error(ErrorKind::kArgument, path, "no A005");
    Retry([&] { return c.RLock(); });
    c.Delete();
    c.Unlock();
  });
  ASSERT_EQ(WaitFor(other), 0);
  run.clear();
  EXPECT_EQ(reader.ReadRun("A", 10, run), 3u);
  std::vector<std::string> keys;
  for (const RunRecord& record : run) keys.push_back(record.bytes.substr(1, 4));
  EXPECT_EQ(keys, (std::vector<std::string>{"A004", "A006", "A007"}));
  EXPECT_EQ(reader.Get("K").str, "B001");
}

}  // namespace
}  // namespace xbase
