#pragma once
// A VFS that wraps the default one and fails every write once a byte budget is spent,
// the way a full disk does (SQLITE_FULL). Installed as the default VFS while alive.
#include <sqlite3.h>

#include <atomic>
#include <cstring>

namespace store_test {

class FullDiskVfs {
 public:
  FullDiskVfs() {
    real_ = sqlite3_vfs_find(nullptr);
    vfs_ = *real_;
    vfs_.szOsFile = static_cast<int>(sizeof(File)) + real_->szOsFile;
    vfs_.zName = "store_full_disk";
    vfs_.pAppData = this;
    vfs_.xOpen = &Open;
    sqlite3_vfs_register(&vfs_, 1);
  }
  ~FullDiskVfs() { sqlite3_vfs_unregister(&vfs_); }

  // Bytes that may still be written; negative means no limit.
  void SetBudget(long long bytes) { budget_ = bytes; }
  int FailedWrites() const { return failed_; }

 private:
  struct File {
    sqlite3_file base;
    FullDiskVfs* owner;
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
  };

  static File* Of(sqlite3_file* f) { return reinterpret_cast<File*>(f); }

  static int Open(sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* file, int flags,
                  int* out_flags) {
    auto* self = static_cast<FullDiskVfs*>(vfs->pAppData);
    File* f = Of(file);
    std::memset(f, 0, sizeof(File));
    f->owner = self;
    const int rc = self->real_->xOpen(self->real_, name, f->real(), flags, out_flags);
    f->base.pMethods = f->real()->pMethods ? &kMethods : nullptr;
    return rc;
  }

  static int Close(sqlite3_file* f) { return Of(f)->real()->pMethods->xClose(Of(f)->real()); }
  static int Read(sqlite3_file* f, void* buf, int n, sqlite3_int64 off) {
    return Of(f)->real()->pMethods->xRead(Of(f)->real(), buf, n, off);
  }
  static int Write(sqlite3_file* f, const void* buf, int n, sqlite3_int64 off) {
    FullDiskVfs* self = Of(f)->owner;
    long long budget = self->budget_.load();
    if (budget >= 0) {
      if (budget < n) {
        ++self->failed_;
        return SQLITE_FULL;
      }
      self->budget_ -= n;
    }
    return Of(f)->real()->pMethods->xWrite(Of(f)->real(), buf, n, off);
  }
  static int Truncate(sqlite3_file* f, sqlite3_int64 size) {
    return Of(f)->real()->pMethods->xTruncate(Of(f)->real(), size);
  }
  static int Sync(sqlite3_file* f, int flags) {
    return Of(f)->real()->pMethods->xSync(Of(f)->real(), flags);
  }
  static int FileSize(sqlite3_file* f, sqlite3_int64* size) {
    return Of(f)->real()->pMethods->xFileSize(Of(f)->real(), size);
  }
  static int Lock(sqlite3_file* f, int level) {
    return Of(f)->real()->pMethods->xLock(Of(f)->real(), level);
  }
  static int Unlock(sqlite3_file* f, int level) {
    return Of(f)->real()->pMethods->xUnlock(Of(f)->real(), level);
  }
  static int CheckReservedLock(sqlite3_file* f, int* out) {
    return Of(f)->real()->pMethods->xCheckReservedLock(Of(f)->real(), out);
  }
  static int FileControl(sqlite3_file* f, int op, void* arg) {
    return Of(f)->real()->pMethods->xFileControl(Of(f)->real(), op, arg);
  }
  static int SectorSize(sqlite3_file* f) {
    return Of(f)->real()->pMethods->xSectorSize(Of(f)->real());
  }
  static int DeviceCharacteristics(sqlite3_file* f) {
    return Of(f)->real()->pMethods->xDeviceCharacteristics(Of(f)->real());
  }

  // Version 1: no shared memory (no WAL) and no memory mapping.
  static constexpr sqlite3_io_methods kMethods = {
      1, &Close, &Read, &Write, &Truncate, &Sync, &FileSize, &Lock, &Unlock,
      &CheckReservedLock, &FileControl, &SectorSize, &DeviceCharacteristics,
      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};

  sqlite3_vfs* real_ = nullptr;
  sqlite3_vfs vfs_{};
  std::atomic<long long> budget_{-1};
  std::atomic<int> failed_{0};
};

}  // namespace store_test
