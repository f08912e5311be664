#include "platform/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/local_socket.h"
#include "tessel/core/text_utf.h"

namespace {

constexpr int kIoTimeoutMs = 1000;
constexpr size_t kMaxCommandLength = 64;
// A second start may find the lock taken a moment before the first one listens.
constexpr int kConnectAttempts = 20;
constexpr auto kConnectRetryPause = std::chrono::milliseconds(25);

bool IsPrivateFolderOfUser(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() &&
         (st.st_mode & 077) == 0;
}

std::string RuntimeDirOrDefault(std::string dir) {
  if (dir.empty()) dir = SingleInstance::DefaultRuntimeDir();
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  return dir;
}

// Connects to the socket; -1 when nobody listens or the listener is another user.
int ConnectTo(const std::string& socket_path) {
  sockaddr_un address;
  if (!MakeUnixAddress(socket_path, &address)) return -1;
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0) {
      if (PeerIsSameUser(fd)) return fd;
      close(fd);
      return -1;
    }
    const int error = errno;
    close(fd);
    if (error != ENOENT && error != ECONNREFUSED) return -1;
    std::this_thread::sleep_for(kConnectRetryPause);
  }
  return -1;
}

}  // namespace

std::string SingleInstance::DefaultRuntimeDir() {
  if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir == '/') {
    struct stat st {};
    if (stat(dir, &st) == 0 && S_ISDIR(st.st_mode)) return dir;
  }
  // No session runtime folder: a private one under /tmp, accepted only when it is ours.
  const std::string fallback = "/tmp/vantor-runtime-" + std::to_string(geteuid());
  mkdir(fallback.c_str(), 0700);
  return IsPrivateFolderOfUser(fallback) ? fallback : std::string();
}

std::string SingleInstance::NameStem(const std::wstring& name) {
  const std::string utf8 = Utf8FromWide(name);
  std::string stem;
  for (char c : utf8) {
    const bool keep = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_' || (c == '.' && !stem.empty());
    stem.push_back(keep ? c : '_');
  }
  if (stem.size() > 48) stem.resize(48);
  if (stem != utf8) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : utf8) hash = (hash ^ c) * 16777619u;
    char suffix[10];
    std::snprintf(suffix, sizeof(suffix), "-%08x", hash);
    stem += suffix;
  }
  return stem;
}

SingleInstance::SingleInstance(const std::wstring& name, std::string runtime_dir) {
  const std::string dir = RuntimeDirOrDefault(std::move(runtime_dir));
  if (dir.empty()) return;
  const std::string stem = dir + "/" + NameStem(name);
  lock_path_ = stem + ".lock";
  socket_path_ = stem + ".sock";
}

SingleInstance::~SingleInstance() {
  if (listener_.joinable()) {
    const uint64_t one = 1;
    if (write(stop_fd_, &one, sizeof(one)) < 0) {
      // The listener also ends when its socket closes; nothing else to do.
    }
    listener_.join();
  }
  if (listen_fd_ >= 0) {
    close(listen_fd_);
    unlink(socket_path_.c_str());  // still ours: we hold the lock
  }
  if (stop_fd_ >= 0) close(stop_fd_);
  if (lock_fd_ >= 0) close(lock_fd_);  // releases the lock
}

SingleInstance::Role SingleInstance::Acquire() {
  if (lock_fd_ >= 0) return Role::kFirst;  // already acquired
  if (lock_path_.empty()) return Role::kUnavailable;
  sockaddr_un unused;
  if (!MakeUnixAddress(socket_path_, &unused)) return Role::kUnavailable;
  const int fd = open(lock_path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return Role::kUnavailable;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    close(fd);
    if (error != EWOULDBLOCK) return Role::kUnavailable;
    SendTo(socket_path_, InstanceCommand::kShow);
    return Role::kAnother;
  }
  lock_fd_ = fd;
  // Without the socket the program still runs as the only instance; later starts then
  // end quietly instead of raising this window.
  StartListening();
  return Role::kFirst;
}

bool SingleInstance::StartListening() {
  // A socket file left here belongs to a process that died: the lock is ours now.
  unlink(socket_path_.c_str());
  sockaddr_un address;
  MakeUnixAddress(socket_path_, &address);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      chmod(socket_path_.c_str(), 0600) != 0 || listen(fd, 8) != 0) {
    close(fd);
    unlink(socket_path_.c_str());
    return false;
  }
  stop_fd_ = eventfd(0, EFD_CLOEXEC);
  if (stop_fd_ < 0) {
    close(fd);
    unlink(socket_path_.c_str());
    return false;
  }
  listen_fd_ = fd;
  listener_ = std::thread([this] { ListenLoop(); });
  return true;
}

void SingleInstance::ListenLoop() {
  for (;;) {
    pollfd fds[2] = {{listen_fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents) return;
    if (!(fds[0].revents & POLLIN)) continue;
    const int client = accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    Serve(client);
    close(client);
  }
}

void SingleInstance::Serve(int client) {
  if (!PeerIsSameUser(client)) return;  // closed without a word
  SetSocketTimeouts(client, kIoTimeoutMs);
  std::string line;
  if (!ReadLine(client, kMaxCommandLength, &line)) return;
  const auto command = ParseInstanceCommand(line);
  if (!command) {
    WriteText(client, "unknown\n");
    return;
  }
  std::function<void()> notify;
  {
    std::lock_guard guard(mutex_);
    queue_.push_back(*command);
    notify = notify_;
  }
  arrived_.notify_all();
  if (notify) notify();
  WriteText(client, "ok\n");  // the sender learns of it once it is queued and announced
}

void SingleInstance::SetCommandNotify(std::function<void()> notify) {
  bool waiting;
  {
    std::lock_guard guard(mutex_);
    notify_ = notify;
    waiting = !queue_.empty();
  }
  if (notify && waiting) notify();
}

std::optional<InstanceCommand> SingleInstance::TakeCommand() {
  std::lock_guard guard(mutex_);
  if (queue_.empty()) return std::nullopt;
  const InstanceCommand command = queue_.front();
  queue_.pop_front();
  return command;
}

std::optional<InstanceCommand> SingleInstance::WaitCommand(std::chrono::milliseconds timeout) {
  std::unique_lock guard(mutex_);
  if (!arrived_.wait_for(guard, timeout, [this] { return !queue_.empty(); })) return std::nullopt;
  const InstanceCommand command = queue_.front();
  queue_.pop_front();
  return command;
}

bool SingleInstance::Send(const std::wstring& name, InstanceCommand command,
                          std::string runtime_dir) {
  const std::string dir = RuntimeDirOrDefault(std::move(runtime_dir));
  if (dir.empty()) return false;
  return SendTo(dir + "/" + NameStem(name) + ".sock", command);
}

bool SingleInstance::SendTo(const std::string& socket_path, InstanceCommand command) {
  const int fd = ConnectTo(socket_path);
  if (fd < 0) return false;
  SetSocketTimeouts(fd, kIoTimeoutMs);
  std::string reply;
  const bool ok = WriteText(fd, std::string(InstanceCommandText(command)) + "\n") &&
                  ReadLine(fd, kMaxCommandLength, &reply) && reply == "ok";
  close(fd);
  return ok;
}
