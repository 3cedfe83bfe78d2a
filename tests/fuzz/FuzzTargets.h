#pragma once
// Entry points fed with arbitrary bytes: by libFuzzer, and by the corpus
// regression test. Each returns 0 and aborts when an invariant breaks.
#include <cstddef>
#include <cstdint>

namespace quillet::fuzz {

int FuzzDataFile(const uint8_t* data, size_t size);
int FuzzRecycleBin(const uint8_t* data, size_t size);
int FuzzTranslation(const uint8_t* data, size_t size);
int FuzzTransfer(const uint8_t* data, size_t size);

struct Target {
  const char* name;  // also the corpus folder
  int (*fn)(const uint8_t*, size_t);
};
inline constexpr Target kTargets[] = {
    {"datafile", FuzzDataFile},
    {"recyclebin", FuzzRecycleBin},
    {"translation", FuzzTranslation},
    {"transfer", FuzzTransfer},
};

}  // namespace quillet::fuzz
