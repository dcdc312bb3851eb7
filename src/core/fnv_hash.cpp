#include "core/fnv_hash.h"

namespace {
constexpr uint64_t kFnvPrime = 1099511628211ull;
}

uint64_t fnvHash(uint64_t hash, const void* bytes, size_t size) {
  const auto* byte = static_cast<const unsigned char*>(bytes);
  for (size_t i = 0; i < size; ++i) hash = (hash ^ byte[i]) * kFnvPrime;
  return hash;
}
