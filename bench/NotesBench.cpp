// Times creating, saving, loading and scanning data files of many notes.
// Run: build/notes_bench [folder]   (the files are left there for comparison)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "notes/NoteStore.h"

using namespace quillet;
using Clock = std::chrono::steady_clock;

namespace {
double Ms(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

std::string TextOf(int i) {
  std::string t = "Note " + std::to_string(i) + "\r\nBuy milk, call Anna about the meeting on Friday.";
  for (int k = 0; k < i % 7; ++k) t += "\r\nAnother line of the note with a few words in it.";
  return t;
}
}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path dir = argc > 1 ? argv[1] : std::filesystem::temp_directory_path() / "quillet-bench";
  std::filesystem::create_directories(dir);
  std::printf("%8s %10s %10s %10s %10s %10s %12s\n", "notes", "create ms", "save ms", "load ms", "scan ms",
              "note ms", "file bytes");
  for (const int count : {1000, 10000, kMaxNotes}) {
    const std::string path = (dir / ("bench-" + std::to_string(count) + ".dat")).string();
    std::filesystem::remove(path);

    CNoteStore store;
    store.SetDataPath(path);
    store.LoadNotes();  // a new file: nothing to load, but writes wait for a load
    const auto t0 = Clock::now();
    for (int i = 0; i < count; ++i) {
      CNote n;
      n.SetText(TextOf(i));
      n.Rect = {i % 1000, i % 700, 200, 120};
      n.Modified = DateTime::FromDate(46000.0 + i / 100.0);
      store.CreateNote(std::move(n));
    }
    const auto t1 = Clock::now();
    if (!store.SaveAllNotes()) return 1;
    const auto t2 = Clock::now();

    CNoteStore loaded;
    loaded.SetDataPath(path);
    if (!loaded.LoadNotes() || loaded.Count() != count) return 1;
    const auto t3 = Clock::now();
    int hits = 0;
    for (const auto& n : loaded.Notes())
      if (n->Text().find("Anna") != std::string::npos) ++hits;
    const auto t4 = Clock::now();
    // One changed note, written in place as every edit is.
    loaded.GetNote(count / 2)->SetText("edited");
    if (!loaded.SaveNote(count / 2, false)) return 1;
    const auto t5 = Clock::now();

    std::printf("%8d %10.1f %10.1f %10.1f %10.2f %10.2f %12lld\n", count, Ms(t0, t1), Ms(t1, t2), Ms(t2, t3),
                Ms(t3, t4), Ms(t4, t5), static_cast<long long>(std::filesystem::file_size(path)));
    if (hits != count) return 1;
  }
  return 0;
}
