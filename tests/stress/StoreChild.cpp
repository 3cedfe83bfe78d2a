// A process that works on a data file through the real saving code, for the
// crash and full-disk tests. It reports on standard output, unbuffered:
//   kill <path> <seed>       adds, changes and removes notes until it is killed;
//                            before each operation a line "add|set|del ...", after it "ok"
//   fulldisk <path> <add|saveall> <extra bytes>
//                            may grow files only that far past the data file's size
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "notes/NoteStore.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace quillet;

namespace {

void Say(const std::string& line) {
  const std::string l = line + "\n";
  std::size_t done = 0;
  while (done < l.size()) {
    const auto n = ::write(1, l.data() + done, l.size() - done);
    if (n <= 0) std::_Exit(4);
    done += static_cast<std::size_t>(n);
  }
}

std::string Hex(const std::string& s) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (unsigned char c : s) {
    out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 15]);
  }
  return out;
}

int RunKill(const std::string& path, unsigned seed) {
  CNoteStore store;
  store.SetDataPath(path);
  store.SetReporter([](const std::string& m) { Say("message " + Hex(m)); });
  if (!store.LoadNotes()) return 2;
  std::mt19937 rng(seed);
  for (long k = 0;; ++k) {
    const int count = store.Count();
    const unsigned pick = rng() % 10;
    if (count < 3 || pick < 4) {
      std::string text = "note " + std::to_string(seed) + "-" + std::to_string(k);
      if (rng() % 3 == 0) text += "\r\nzweite Zeile: Grüße";
      Say("add " + Hex(text));
      CNote n;
      n.SetText(text);
      n.Rect = {static_cast<int>(k % 800), 100, 150, 90};
      if (!store.CreateNote(std::move(n)) || !store.SaveNote(store.Count() - 1, true)) return 3;
    } else if (pick < 8) {
      const int i = static_cast<int>(rng() % static_cast<unsigned>(count));
      const std::string text = "changed " + std::to_string(seed) + "-" + std::to_string(k);
      Say("set " + std::to_string(i) + " " + Hex(text));
      store.GetNote(i)->SetText(text);
      if (!store.SaveNote(i, false)) return 3;
    } else {
      const int i = static_cast<int>(rng() % static_cast<unsigned>(count));
      Say("del " + std::to_string(i));
      store.DeleteNotes({i}, false);
      if (!store.SaveAllNotes()) return 3;
    }
    Say("ok");
  }
}

int RunFullDisk(const std::string& path, const std::string& mode, long extra) {
#ifndef _WIN32
  std::signal(SIGXFSZ, SIG_IGN);
  CNoteStore store;
  store.SetDataPath(path);
  store.SetReporter([](const std::string& m) { Say("message " + m); });
  if (!store.LoadNotes()) return 2;
  const long size = static_cast<long>(FileSystem::Real().FileSize(path));
  const rlimit lim{static_cast<rlim_t>(size + extra), static_cast<rlim_t>(size + extra)};
  if (setrlimit(RLIMIT_FSIZE, &lim) != 0) return 5;
  bool ok;
  if (mode == "add") {
    CNote n;
    n.SetText("the note that does not fit");
    store.CreateNote(std::move(n));
    ok = store.SaveNote(store.Count() - 1, true);
  } else {
    store.GetNote(0)->SetText("changed, but the disk is full");
    ok = store.SaveAllNotes();
  }
  Say(ok ? "saved" : "failed");
  return 0;
#else
  (void)path, (void)mode, (void)extra;
  return 6;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::string(argv[1]) == "kill") return RunKill(argv[2], static_cast<unsigned>(std::atoi(argv[3])));
  if (argc >= 5 && std::string(argv[1]) == "fulldisk") return RunFullDisk(argv[2], argv[3], std::atol(argv[4]));
  std::fprintf(stderr, "usage: store_child kill <path> <seed> | fulldisk <path> <add|saveall> <extra>\n");
  return 1;
}
