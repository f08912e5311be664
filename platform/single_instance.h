#pragma once
// One running program per user and display name. The first instance holds an flock on
// "<name>.lock" and listens on the Unix socket "<name>.sock", both in $XDG_RUNTIME_DIR
// (mode 0600). A later start finds the lock held, sends "show" to the first instance
// and ends. Connections from other users are refused. Received commands are queued for
// the main window; a notify callback (run on the listener thread) tells it to look.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/instance_command.h"

class SingleInstance {
 public:
  enum class Role {
    kFirst,        // this process is the instance; commands will arrive here
    kAnother,      // another instance runs; "show" was passed to it if it could be reached
    kUnavailable,  // no usable runtime folder or lock file: run without the service
  };

  // `runtime_dir` empty: $XDG_RUNTIME_DIR, else a private folder under /tmp.
  explicit SingleInstance(const std::wstring& name, std::string runtime_dir = {});
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;

  Role Acquire();
  bool Listening() const { return listen_fd_ >= 0; }

  // Called on the listener thread after each queued command (and at once when commands
  // are already waiting). Keep it short: post an event to the UI thread.
  void SetCommandNotify(std::function<void()> notify);
  std::optional<InstanceCommand> TakeCommand();
  std::optional<InstanceCommand> WaitCommand(std::chrono::milliseconds timeout);

  const std::string& LockPath() const { return lock_path_; }
  const std::string& SocketPath() const { return socket_path_; }

  // Sends one command to the running instance of `name`; true when it was accepted.
  static bool Send(const std::wstring& name, InstanceCommand command,
                   std::string runtime_dir = {});

  // The runtime folder used when none is given; empty when there is no safe one.
  static std::string DefaultRuntimeDir();
  // File-name stem for a display name: letters, digits, '.', '-', '_' kept, at most
  // 48 bytes; a name that had to be changed gets a hash of the full name added.
  static std::string NameStem(const std::wstring& name);

 private:
  static bool SendTo(const std::string& socket_path, InstanceCommand command);
  bool StartListening();
  void ListenLoop();
  void Serve(int client);

  std::string lock_path_;
  std::string socket_path_;
  int lock_fd_ = -1;
  int listen_fd_ = -1;
  int stop_fd_ = -1;  // eventfd that wakes the listener to end
  std::thread listener_;

  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<InstanceCommand> queue_;
  std::function<void()> notify_;
};
