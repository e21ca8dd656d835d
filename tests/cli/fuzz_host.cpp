// Fuzz target: the demo host's dialog with one user, fed by the bytes the
// user's telnet client sends. The bytes arrive in blocks through the host's
// own telnet negotiation and line editor (UserInput), and the whole session
// runs as "kesta-cli host" runs it: board, file library, chat room and code
// changes, with the data directory in a temporary folder. No sockets.
//
// Input: a byte choosing the user's code, then blocks, each a length byte
// (low six bits: up to 63 bytes; bit 6: another user says something in the
// chat room first) and its bytes. A download or upload takes one byte of
// its own for its outcome.
#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/host/board_store.h"
#include "cli/host/chat_room.h"
#include "cli/host/file_library.h"
#include "cli/host/host_session.h"
#include "cli/host/line_editor.h"
#include "cli/host/user_input.h"
#include "tests/support/fuzz_temp_dir.h"
#include "xlat/xlat.h"

namespace fs = std::filesystem;
using namespace kesta::host;

namespace {

constexpr int kOther = 1000;  // another user in the chat room

class FuzzConnection : public Connection {
 public:
  FuzzConnection(const uint8_t* data, size_t size, int type, ChatRoom& room)
      : at_(data), end_(data + size), type_(type), code_(codeOf(type)), input_(code_), room_(room) {
    sent_ += input_.opening().size();
  }

  // What the host's open() does: the first block may bring the terminal type.
  void negotiate() { pump([] {}); }

  // What the host sends is made as for the socket and counted, not kept.
  void write(const std::string& utf8) override { sent_ += toWire(utf8, code_).size(); }

  bool readLine(std::string* line, const std::function<void()>& onWake) override {
    while (!input_.editor().hasLine())
      if (!pump(onWake)) return false;
    *line = input_.editor().takeLine();
    // A typed line is bounded and never holds its own end.
    if (line->size() > LineEditor::kLongestLine || line->find_first_of("\r\n") != std::string::npos)
      __builtin_trap();
    return true;
  }

  int codeType() const override { return type_; }
  bool setCodeType(int type) override {
    kesta::xlat::Code code;
    if (!kesta::xlat::codeForType(type, &code)) return false;
    type_ = type;
    code_ = code;
    input_.editor().setCode(code);
    return true;
  }
  std::string terminalType() const override { return input_.telnet().terminalType(); }

  bool download(const fs::path& file) override {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) __builtin_trap();  // only what the library listed is offered
    input_.editor().clear();
    return (take() & 1) == 0;
  }

  bool upload(const fs::path& directory) override {
    static const char* const kNames[] = {"a.txt", "a", "b.tar.gz", "받은 글.txt"};
    input_.editor().clear();
    int outcome = take();
    std::ofstream(directory / kNames[(outcome >> 1) & 3], std::ios::binary) << "uploaded";
    tooLarge_ = (outcome & 8) != 0;
    return (outcome & 1) == 0 && !tooLarge_;
  }
  bool uploadTooLarge() const override { return tooLarge_; }

 private:
  static kesta::xlat::Code codeOf(int type) {
    kesta::xlat::Code code = kesta::xlat::Code::Cp949;
    kesta::xlat::codeForType(type, &code);
    return code;
  }
  int take() { return at_ < end_ ? *at_++ : 0; }
  bool pump(const std::function<void()>& onWake) {
    if (at_ >= end_) return false;  // the user went away
    uint8_t head = *at_++;
    size_t count = std::min<size_t>(head & 63, static_cast<size_t>(end_ - at_));
    if (head & 64) room_.say(kOther, "안녕하세요 (hello)");
    sent_ += input_.receive(at_, count).size();
    at_ += count;
    if (head & 64) onWake();
    return true;
  }

  const uint8_t* at_;
  const uint8_t* end_;
  int type_;
  kesta::xlat::Code code_;
  UserInput input_;
  ChatRoom& room_;
  size_t sent_ = 0;
  bool tooLarge_ = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const fs::path& dir = kesta::test::fuzzTempDirectory("host-fuzz");
  std::error_code ec;
  fs::remove(dir / "board.txt", ec);
  fs::remove_all(dir / "upload", ec);
  FileLibrary library(dir);
  std::string error;
  if (!library.prepare(&error)) std::abort();
  BoardStore board((dir / "board.txt").string());
  ChatRoom room;
  room.enter(kOther, "다른 사람", -1);

  FuzzConnection connection(data + 1, size - 1, data[0] % 9 + 1, room);
  connection.negotiate();
  HostSession session(connection, HostShared{board, library, room}, 7);
  session.run();

  // Every post the session made reads back, its title within bounds.
  std::vector<Post> posts = board.load();
  size_t made = static_cast<size_t>(session.record().posts);
  if (posts.size() != std::min(made, BoardStore::kMostPosts)) __builtin_trap();
  for (const Post& post : posts)
    if (post.title.empty() || displayWidth(post.title) > HostSession::kLongestTitle) __builtin_trap();
  // Each upload was committed or discarded: no staging folder is left.
  for (const auto& entry : fs::directory_iterator(dir / "upload", ec))
    if (entry.path().filename().string().rfind(".incoming-", 0) == 0) __builtin_trap();
  // The session left the chat room, whatever way it ended.
  if (room.names().size() != 1) __builtin_trap();
  return 0;
}
