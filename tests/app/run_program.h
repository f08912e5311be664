#pragma once
// Runs the built program as a child process with a given environment and collects its
// exit code and error output.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>
#include <vector>

struct ProgramRun {
  int exit_code = -1;  // -1 when it did not end normally
  std::string error_output;
};

inline ProgramRun RunProgram(const std::string& path, const std::vector<std::string>& environment) {
  ProgramRun run;
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return run;
  std::vector<char*> envp;
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipe_fds[1], STDERR_FILENO);
    close(pipe_fds[0]);
    close(pipe_fds[1]);
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    execve(path.c_str(), argv, envp.data());
    _exit(127);
  }
  close(pipe_fds[1]);
  // A program that hangs is killed after this long and reported as not ending normally,
  // so a fault shows as a failure instead of a stuck test run.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  bool hung = false;
  char buffer[4096];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd readable{pipe_fds[0], POLLIN, 0};
    const int ready = left.count() > 0 ? poll(&readable, 1, static_cast<int>(left.count())) : 0;
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) hung = true;
    if (ready <= 0) break;
    const ssize_t n = read(pipe_fds[0], buffer, sizeof(buffer));
    if (n <= 0) break;
    run.error_output.append(buffer, static_cast<size_t>(n));
  }
  close(pipe_fds[0]);
  if (hung && child > 0) kill(child, SIGKILL);
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    run.exit_code = WEXITSTATUS(status);
  }
  return run;
}
