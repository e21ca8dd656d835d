// The demo host's dialog with one user: welcome screen, name, main menu,
// board, file library and chat room, over a Connection.
#pragma once

#include <string>
#include <vector>

#include "cli/host/board_store.h"
#include "cli/host/chat_room.h"
#include "cli/host/connection.h"
#include "cli/host/file_library.h"

namespace kesta::host {

// What every session shares.
struct HostShared {
  BoardStore& board;
  FileLibrary& library;
  ChatRoom& chat;
};

// What one session did, for its log line.
struct SessionRecord {
  std::string name;
  int posts = 0;
  int downloads = 0;
  int uploads = 0;
  int chatLines = 0;
  bool quit = false;  // left by Q rather than by closing
};

class HostSession {
 public:
  static constexpr std::size_t kLongestName = 20;     // cells
  static constexpr std::size_t kLongestTitle = 60;    // cells
  static constexpr std::size_t kMostBodyLines = 20;
  static constexpr std::size_t kPostsPerPage = 10;

  HostSession(Connection& connection, HostShared shared, int id);

  // Runs until the user quits or goes away.
  void run();
  const SessionRecord& record() const { return record_; }

 private:
  bool ask(const std::string& promptText, std::string* answer);
  bool askName();
  bool board();
  bool readPosts(const std::vector<Post>& posts, std::size_t index);
  bool writePost();
  bool files();
  bool chat();
  bool changeCode();
  void showPost(const Post& post);

  Connection& connection_;
  HostShared shared_;
  int id_;
  SessionRecord record_;
};

// A typed choice: trimmed and upper-cased when it is one ASCII letter.
std::string normalizedChoice(const std::string& line);

}  // namespace kesta::host
