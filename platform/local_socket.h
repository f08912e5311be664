#pragma once
// Small helpers around Unix domain stream sockets that talk one line per connection
// with a peer of the same user.
#include <sys/un.h>

#include <string>

// Fills a socket address; false when the path does not fit.
bool MakeUnixAddress(const std::string& path, sockaddr_un* address);
// True when the peer of a connected socket runs under the effective user id of this process.
bool PeerIsSameUser(int fd);
// Sets receive and send time-outs.
void SetSocketTimeouts(int fd, int milliseconds);
// Reads up to a line break (not included) or end of stream; false on error, time-out or
// a line longer than `max_length`.
bool ReadLine(int fd, size_t max_length, std::string* line);
// Writes the whole text; false on error. Never raises SIGPIPE.
bool WriteText(int fd, const std::string& text);
