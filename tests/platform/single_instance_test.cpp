#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>

#include "platform/local_socket.h"
#include "temp_env.h"

namespace {

using namespace std::chrono_literals;

// Long enough for any loaded machine; a passing run never waits it out.
constexpr auto kPatience = 10s;

TEST(SingleInstance, SecondStartSendsShowToTheFirst) {
  TempFolder runtime;
  SingleInstance first(L"Vantor", runtime.path());
  ASSERT_EQ(first.Acquire(), SingleInstance::Role::kFirst);
  ASSERT_TRUE(first.Listening());
  EXPECT_EQ(first.LockPath(), runtime / "Vantor.lock");
  EXPECT_EQ(first.SocketPath(), runtime / "Vantor.sock");
  struct stat st {};
  ASSERT_EQ(stat(first.SocketPath().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);

  SingleInstance second(L"Vantor", runtime.path());
  EXPECT_EQ(second.Acquire(), SingleInstance::Role::kAnother);
  EXPECT_EQ(first.WaitCommand(kPatience), InstanceCommand::kShow);
  EXPECT_EQ(first.TakeCommand(), std::nullopt);

  // A different display name is a different program.
  SingleInstance other(L"Other Board", runtime.path());
  EXPECT_EQ(other.Acquire(), SingleInstance::Role::kFirst);
}

TEST(SingleInstance, LocalCommandsArriveInOrderAndNotify) {
  TempFolder runtime;
  SingleInstance first(L"Vantor", runtime.path());
  ASSERT_EQ(first.Acquire(), SingleInstance::Role::kFirst);

  EXPECT_TRUE(SingleInstance::Send(L"Vantor", InstanceCommand::kExit, runtime.path()));
  std::atomic<int> notified{0};
  first.SetCommandNotify([&] { ++notified; });  // a waiting command notifies at once
  EXPECT_EQ(notified, 1);
  EXPECT_TRUE(SingleInstance::Send(L"Vantor", InstanceCommand::kApplyLanguage, runtime.path()));
  EXPECT_EQ(notified, 2);  // announced before the sender got its answer
  EXPECT_EQ(first.TakeCommand(), InstanceCommand::kExit);
  EXPECT_EQ(first.TakeCommand(), InstanceCommand::kApplyLanguage);
  EXPECT_FALSE(SingleInstance::Send(L"Nobody", InstanceCommand::kShow, runtime.path()));
}

TEST(SingleInstance, UnknownOrOverlongLinesAreNotQueued) {
  TempFolder runtime;
  SingleInstance first(L"Vantor", runtime.path());
  ASSERT_EQ(first.Acquire(), SingleInstance::Role::kFirst);
  for (const std::string& line : {std::string("SHOW\n"), std::string(1000, 'x')}) {
    sockaddr_un address;
    ASSERT_TRUE(MakeUnixAddress(first.SocketPath(), &address));
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    WriteText(fd, line);
    shutdown(fd, SHUT_WR);
    std::string reply;
    SetSocketTimeouts(fd, 10000);
    ReadLine(fd, 100, &reply);
    EXPECT_NE(reply, "ok");
    close(fd);
  }
  EXPECT_EQ(first.TakeCommand(), std::nullopt);
}

// Forks a child that drops to the user "nobody", connects to the socket and sends
// "show". Answers the child's exit code: 0 refused at connect, 1 connected but the
// command was refused, 2 the command was accepted, 3 set-up failed.
int ConnectAsNobody(const std::string& socket_path) {
  const pid_t child = fork();
  if (child == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(3);
    sockaddr_un address;
    MakeUnixAddress(socket_path, &address);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) _exit(0);
    SetSocketTimeouts(fd, 10000);
    std::string reply;
    WriteText(fd, "show\n");
    _exit(ReadLine(fd, 100, &reply) && reply == "ok" ? 2 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 4;
}

TEST(SingleInstance, PeersOfAnotherUserAreRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to switch to another user";
  TempFolder runtime;
  SingleInstance first(L"Vantor", runtime.path());
  ASSERT_EQ(first.Acquire(), SingleInstance::Role::kFirst);
  chmod(runtime.path().c_str(), 0755);

  // The socket's mode keeps the other user out ...
  EXPECT_EQ(ConnectAsNobody(first.SocketPath()), 0);
  // ... and with the file opened up, the peer check still refuses the command.
  chmod(first.SocketPath().c_str(), 0666);
  EXPECT_EQ(ConnectAsNobody(first.SocketPath()), 1);
  EXPECT_EQ(first.TakeCommand(), std::nullopt);
  // The listener is still serving its own user.
  EXPECT_TRUE(SingleInstance::Send(L"Vantor", InstanceCommand::kShow, runtime.path()));
  EXPECT_EQ(first.TakeCommand(), InstanceCommand::kShow);
}

TEST(SingleInstance, StaleSocketOfAKilledInstanceDoesNotBlockANewOne) {
  TempFolder runtime;
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SingleInstance instance(L"Vantor", runtime.path());
    const char role = instance.Acquire() == SingleInstance::Role::kFirst ? 'F' : 'x';
    if (write(ready[1], &role, 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  close(ready[1]);
  char role = 0;
  const ssize_t got = read(ready[0], &role, 1);
  close(ready[0]);
  // Killed before any check: a failed check must not leave the child paused for ever.
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  ASSERT_EQ(got, 1);
  ASSERT_EQ(role, 'F');
  ASSERT_TRUE(std::filesystem::exists(runtime / "Vantor.sock"));

  SingleInstance fresh(L"Vantor", runtime.path());
  ASSERT_EQ(fresh.Acquire(), SingleInstance::Role::kFirst);
  EXPECT_TRUE(fresh.Listening());
  EXPECT_TRUE(SingleInstance::Send(L"Vantor", InstanceCommand::kShow, runtime.path()));
  EXPECT_EQ(fresh.TakeCommand(), InstanceCommand::kShow);
}

TEST(SingleInstance, EndingTheFirstInstanceFreesTheName) {
  TempFolder runtime;
  {
    SingleInstance first(L"Vantor", runtime.path());
    ASSERT_EQ(first.Acquire(), SingleInstance::Role::kFirst);
  }
  EXPECT_FALSE(std::filesystem::exists(runtime / "Vantor.sock"));
  SingleInstance next(L"Vantor", runtime.path());
  EXPECT_EQ(next.Acquire(), SingleInstance::Role::kFirst);
}

TEST(SingleInstance, FileNamesAreSafeForAnyDisplayName) {
  EXPECT_EQ(SingleInstance::NameStem(L"Vantor"), "Vantor");
  const std::string odd = SingleInstance::NameStem(L"../Клавиатура X/1");
  EXPECT_EQ(odd.find('/'), std::string::npos);
  EXPECT_NE(odd.substr(0, 1), ".");
  EXPECT_NE(odd, SingleInstance::NameStem(L"../Клавиатура Y/1"));
  EXPECT_LE(SingleInstance::NameStem(std::wstring(500, L'a')).size(), 57u);

  TempFolder runtime;
  SingleInstance odd_name(L"../Клавиатура X/1", runtime.path());
  EXPECT_EQ(odd_name.Acquire(), SingleInstance::Role::kFirst);
  EXPECT_EQ(std::filesystem::path(odd_name.SocketPath()).parent_path(), runtime.path());
}

TEST(SingleInstance, NoUsableRuntimeFolderMeansNoService) {
  SingleInstance missing(L"Vantor", "/nonexistent-vantor-runtime");
  EXPECT_EQ(missing.Acquire(), SingleInstance::Role::kUnavailable);
  TempFolder runtime;
  const std::string deep = runtime.path() + "/" + std::string(120, 'x');
  std::filesystem::create_directories(deep);
  SingleInstance too_long(L"Vantor", deep);  // the socket path would not fit
  EXPECT_EQ(too_long.Acquire(), SingleInstance::Role::kUnavailable);
}

}  // namespace
