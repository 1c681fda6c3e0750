#pragma once

#include <cstdio>
#include <cstdlib>

namespace tesmora::fuzz {

// Stops the run when a property of the code under test does not hold; the
// fuzzer then keeps the input that broke it.
inline void Require(bool holds, const char* property) {
  if (!holds) {
    std::fprintf(stderr, "Broken: %s\n", property);
    std::abort();
  }
}

}  // namespace tesmora::fuzz
