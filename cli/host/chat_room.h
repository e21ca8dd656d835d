// The chat room: the users in it at the same time and the lines between
// them. Each member has an inbox that only its own session thread empties
// (so a socket is written by one thread only) and a wake-up descriptor that
// is signalled when a line arrives.
#pragma once

#include <cstddef>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace kesta::host {

class ChatRoom {
 public:
  static constexpr std::size_t kMostWaiting = 100;  // lines an inbox keeps; older ones go

  // Enters member `id` (its name shown to the others); wakeFd is written one
  // byte to when a line arrives (-1: none). Announces the arrival.
  void enter(int id, const std::string& name, int wakeFd);
  // Leaves, announcing it; a member not in the room is ignored.
  void leave(int id);
  // Sends a line from `id` to everyone else in the room.
  void say(int id, const std::string& text);
  // Takes the lines waiting for `id`.
  std::vector<std::string> take(int id);
  // Names of those in the room.
  std::vector<std::string> names() const;

 private:
  struct Member {
    std::string name;
    int wakeFd = -1;
    std::deque<std::string> inbox;
  };
  void broadcast(int from, const std::string& line);

  mutable std::mutex mutex_;
  std::map<int, Member> members_;
};

}  // namespace kesta::host
