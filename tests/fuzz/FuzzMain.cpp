// libFuzzer driver; QUILLET_FUZZ_TARGET names the entry point.
#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return quillet::fuzz::QUILLET_FUZZ_TARGET(data, size);
}
