#include "support/UseAfterFree.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

struct Block {
  char* Base = nullptr;
  SIZE_T Span = 0;
  bool Deleted = false;
};

constexpr int kMaxBlocks = 512;
constexpr int kMaxSizes = 8;
Block g_blocks[kMaxBlocks];
std::atomic<int> g_blockCount{0};
std::size_t g_sizes[kMaxSizes];
int g_sizeCount = 0;
std::atomic<bool> g_on{false};
std::atomic<int> g_watched{0}, g_deleted{0}, g_touches{0};
PVOID g_handler = nullptr;

Block* FindBlock(const void* p) {
  const int n = g_blockCount.load();
  for (int i = 0; i < n; ++i) {
    Block& b = g_blocks[i];
    const char* c = static_cast<const char*>(p);
    if (c >= b.Base && c < b.Base + b.Span) return &b;
  }
  return nullptr;
}

LONG CALLBACK OnAccessViolation(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  if (r->ExceptionCode != EXCEPTION_ACCESS_VIOLATION || r->NumberParameters < 2)
    return EXCEPTION_CONTINUE_SEARCH;
  Block* b = FindBlock(reinterpret_cast<const void*>(r->ExceptionInformation[1]));
  if (!b || !b->Deleted) return EXCEPTION_CONTINUE_SEARCH;
  ++g_touches;
  DWORD old = 0;
  VirtualProtect(b->Base, b->Span, PAGE_READWRITE, &old);
  return EXCEPTION_CONTINUE_EXECUTION;
}

bool IsWatchedSize(std::size_t size) {
  if (!g_on.load()) return false;
  for (int i = 0; i < g_sizeCount; ++i)
    if (g_sizes[i] == size) return true;
  return false;
}

void* Allocate(std::size_t size) {
  if (IsWatchedSize(size) && g_blockCount.load() < kMaxBlocks) {
    const SIZE_T span = (size + 4095) & ~static_cast<SIZE_T>(4095);
    void* p = VirtualAlloc(nullptr, span, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (p) {
      Block& b = g_blocks[g_blockCount.load()];
      b = {static_cast<char*>(p), span, false};
      ++g_blockCount;
      ++g_watched;
      return p;
    }
  }
  void* p = std::malloc(size ? size : 1);
  if (!p) throw std::bad_alloc();
  return p;
}

void Free(void* p) noexcept {
  if (!p) return;
  if (g_blockCount.load() > 0) {
    if (Block* b = FindBlock(p)) {
      // Never given back: a later touch must fault, not land in someone else's object.
      b->Deleted = true;
      ++g_deleted;
      DWORD old = 0;
      VirtualProtect(b->Base, b->Span, PAGE_NOACCESS, &old);
      return;
    }
  }
  std::free(p);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }

namespace testsupport {

UseAfterFreeWatch::UseAfterFreeWatch(std::initializer_list<std::size_t> sizes) {
  if (!g_handler) g_handler = AddVectoredExceptionHandler(1, &OnAccessViolation);
  g_sizeCount = 0;
  for (std::size_t s : sizes)
    if (g_sizeCount < kMaxSizes) g_sizes[g_sizeCount++] = s;
  g_watched = 0;
  g_deleted = 0;
  g_touches = 0;
  g_on = true;
}

// The handler stays: blocks deleted later still fault, and are let through then.
UseAfterFreeWatch::~UseAfterFreeWatch() { g_on = false; }

int UseAfterFreeWatch::Watched() const { return g_watched.load(); }
int UseAfterFreeWatch::Deleted() const { return g_deleted.load(); }
int UseAfterFreeWatch::Touches() const { return g_touches.load(); }

}  // namespace testsupport
