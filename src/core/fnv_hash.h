// FNV-1a, 64 bits: a simple hash in which any changed bit changes the result.
// The state hash and the pictures' identities use it.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint64_t kFnvOffsetBasis = 14695981039346656037ull;

// Folds `size` bytes into `hash` (start from kFnvOffsetBasis).
uint64_t fnvHash(uint64_t hash, const void* bytes, size_t size);
