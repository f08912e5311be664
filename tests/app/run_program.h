#pragma once
// Runs the built program as a child process with a given environment and collects its
// exit code and error output.
#include <sys/wait.h>
#include <unistd.h>

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
  char buffer[4096];
  for (ssize_t n; (n = read(pipe_fds[0], buffer, sizeof(buffer))) > 0;) {
    run.error_output.append(buffer, static_cast<size_t>(n));
  }
  close(pipe_fds[0]);
  int status = 0;
  if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    run.exit_code = WEXITSTATUS(status);
  }
  return run;
}
