// Kills a saving process at random moments and checks that the data file
// always loads and holds every note whose save had returned.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "notes/NoteStore.h"
#include "support/NoteBuilders.h"
#include "support/TempDir.h"

using namespace quillet;
using namespace quillet::test;

namespace {

struct Child {
  pid_t pid = -1;
  int out = -1;
};

Child Spawn(const std::vector<std::string>& args) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], 1);
    close(fds[0]);
    close(fds[1]);
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(fds[1]);
  return {pid, fds[0]};
}

std::string ReadAllFrom(int fd) {
  std::string data;
  char buf[65536];
  for (;;) {
    const auto n = read(fd, buf, sizeof buf);
    if (n <= 0) break;
    data.append(buf, static_cast<std::size_t>(n));
  }
  close(fd);
  return data;
}

// Reads until the child has confirmed its first save, so that every kill
// lands while saves are under way however slow the machine is.
std::string ReadUntilFirstSave(int fd) {
  std::string data;
  char c;
  while (data.find("ok\n") == std::string::npos && read(fd, &c, 1) == 1) data.push_back(c);
  return data;
}

std::string Unhex(const std::string& h) {
  std::string out;
  for (std::size_t i = 0; i + 1 < h.size(); i += 2) out.push_back(static_cast<char>(std::stoi(h.substr(i, 2), nullptr, 16)));
  return out;
}

struct Op {
  std::string kind;
  int index = -1;
  std::string text;
};

void Apply(std::vector<std::string>& model, const Op& op) {
  if (op.kind == "add") model.push_back(op.text);
  if (op.kind == "set") model[static_cast<std::size_t>(op.index)] = op.text;
  if (op.kind == "del") model.erase(model.begin() + op.index);
}

std::vector<std::string> Load(const std::string& path, bool& ok) {
  CNoteStore store;
  store.SetDataPath(path);
  store.SetReporter([&](const std::string&) { ok = false; });
  ok = store.LoadNotes() && ok;
  std::vector<std::string> texts;
  for (const auto& n : store.Notes()) texts.push_back(n->Text());
  return texts;
}

}  // namespace

TEST(Crash, KilledAtRandomTheFileKeepsEverySavedNote) {
  TempDir dir;
  const std::string path = dir.File("Quillet.dat");
  std::mt19937 rng(20261207);
  std::vector<std::string> model;
  long confirmed = 0, checked = 0, pendingSeen = 0;
  constexpr int kKills = 200;

  for (int round = 0; round < kKills; ++round) {
    Child c = Spawn({STORE_CHILD, "kill", path, std::to_string(round)});
    ASSERT_GT(c.pid, 0);
    const std::string head = ReadUntilFirstSave(c.out);
    // A random moment within the saves, not a wait for anything to be done.
    std::this_thread::sleep_for(std::chrono::microseconds(500 + rng() % 25000));
    kill(c.pid, SIGKILL);
    int status = 0;
    waitpid(c.pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself in round " << round << " with " << WEXITSTATUS(status);

    std::istringstream lines(head + ReadAllFrom(c.out));
    std::string line;
    std::optional<Op> pending;
    while (std::getline(lines, line)) {
      std::istringstream w(line);
      Op op;
      w >> op.kind;
      if (op.kind == "ok") {
        ASSERT_TRUE(pending);
        Apply(model, *pending);
        pending.reset();
        ++confirmed;
      } else if (op.kind == "message") {
        FAIL() << "the child was told: " << line;
      } else {
        if (op.kind != "add") w >> op.index;
        if (op.kind != "del") {
          std::string hex;
          w >> hex;
          op.text = Unhex(hex);
        }
        pending = op;
      }
    }

    bool ok = true;
    const std::vector<std::string> onDisk = Load(path, ok);
    ASSERT_TRUE(ok) << "the file did not load after kill " << round;
    if (onDisk != model) {
      ASSERT_TRUE(pending) << "saved notes are missing after kill " << round;
      std::vector<std::string> after = model;
      Apply(after, *pending);
      ASSERT_EQ(onDisk, after) << "after kill " << round;
      ++pendingSeen;
    }
    model = onDisk;
    checked += static_cast<long>(model.size());
  }
  std::printf("kills survived: %d, saves confirmed: %ld, notes checked: %ld, unconfirmed saves found on disk: %ld\n",
              kKills, confirmed, checked, pendingSeen);
  EXPECT_GE(confirmed, kKills);
}

struct DiskLimit {
  std::string mode;
  long extra;  // bytes allowed past the data file's size
};

void PrintTo(const DiskLimit& d, std::ostream* os) { *os << d.mode << " " << d.extra; }

class FullDisk : public ::testing::TestWithParam<DiskLimit> {};

TEST_P(FullDisk, LeavesThePreviousFileAndTellsTheUser) {
  TempDir dir;
  const std::string path = dir.File("Quillet.dat");
  WriteAll(path, MakeFile(10, 2, {RecordOfVersion(FullNote("one"), 10), RecordOfVersion(FullNote("two"), 10)}));
  const auto before = ReadAll(path);

  const auto& [mode, extra] = GetParam();
  Child c = Spawn({STORE_CHILD, "fulldisk", path, mode, std::to_string(extra)});
  ASSERT_GT(c.pid, 0);
  const std::string out = ReadAllFrom(c.out);
  int status = 0;
  waitpid(c.pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
  EXPECT_NE(out.find("message Cannot write the file " + path), std::string::npos) << out;
  EXPECT_NE(out.find("failed"), std::string::npos) << out;
  EXPECT_EQ(ReadAll(path), before);
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
  bool ok = true;
  EXPECT_EQ(Load(path, ok), (std::vector<std::string>{"one", "two"}));
  EXPECT_TRUE(ok);
}

// A new note needs room past the end of the file; a whole save needs room for
// a complete second copy, so its limit lies below the file's size.
INSTANTIATE_TEST_SUITE_P(Limits, FullDisk,
                         ::testing::Values(DiskLimit{"add", 0}, DiskLimit{"add", 100}, DiskLimit{"add", 2863},
                                           DiskLimit{"saveall", -1}, DiskLimit{"saveall", -3000},
                                           DiskLimit{"saveall", -5740}),
                         [](const auto& p) {
                           return p.param.mode + "_" + (p.param.extra < 0 ? "minus" : "plus") +
                                  std::to_string(std::labs(p.param.extra));
                         });
