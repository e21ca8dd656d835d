#include "cli/host/chat_room.h"

#include <unistd.h>

namespace kesta::host {

void ChatRoom::broadcast(int from, const std::string& line) {
  for (auto& [id, member] : members_) {
    if (id == from) continue;
    if (member.inbox.size() >= kMostWaiting) member.inbox.pop_front();
    member.inbox.push_back(line);
    if (member.wakeFd >= 0) {
      char one = 1;
      [[maybe_unused]] ssize_t n = ::write(member.wakeFd, &one, 1);  // a full pipe already wakes it
    }
  }
}

void ChatRoom::enter(int id, const std::string& name, int wakeFd) {
  std::lock_guard lock(mutex_);
  members_[id] = Member{name, wakeFd, {}};
  broadcast(id, "* " + name + " 님이 들어왔습니다 (joined)");
}

void ChatRoom::leave(int id) {
  std::lock_guard lock(mutex_);
  auto it = members_.find(id);
  if (it == members_.end()) return;
  std::string name = it->second.name;
  members_.erase(it);
  broadcast(id, "* " + name + " 님이 나갔습니다 (left)");
}

void ChatRoom::say(int id, const std::string& text) {
  std::lock_guard lock(mutex_);
  auto it = members_.find(id);
  if (it == members_.end()) return;
  broadcast(id, "[" + it->second.name + "] " + text);
}

std::vector<std::string> ChatRoom::take(int id) {
  std::lock_guard lock(mutex_);
  auto it = members_.find(id);
  if (it == members_.end()) return {};
  std::vector<std::string> lines(it->second.inbox.begin(), it->second.inbox.end());
  it->second.inbox.clear();
  return lines;
}

std::vector<std::string> ChatRoom::names() const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> out;
  for (const auto& [id, member] : members_) out.push_back(member.name);
  return out;
}

}  // namespace kesta::host
