#include "cli/host/host_session.h"

#include <algorithm>
#include <charconv>
#include <ctime>

#include "cli/host/line_editor.h"
#include "cli/host/screens.h"

namespace kesta::host {

namespace {

std::string trim(const std::string& text) {
  std::size_t b = text.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  std::size_t e = text.find_last_not_of(' ');
  return text.substr(b, e - b + 1);
}

// A positive number typed as a choice; 0 when the line is no number.
long choiceNumber(const std::string& choice) {
  long value = 0;
  auto [end, error] = std::from_chars(choice.data(), choice.data() + choice.size(), value);
  if (error != std::errc() || end != choice.data() + choice.size() || value <= 0) return 0;
  return value;
}

std::string dateText(long long seconds) {
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm parts{};
  if (!localtime_r(&t, &parts)) return "?";
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &parts);
  return text;
}

std::string padded(const std::string& text, std::size_t cells) {
  std::string cut = cutToWidth(text, cells);
  return cut + std::string(cells - displayWidth(cut), ' ');
}

std::string whoIsHere(const ChatRoom& room) {
  std::string who;
  for (const std::string& name : room.names()) who += (who.empty() ? "" : ", ") + name;
  return "대화실에 있는 사람 (here): " + who;
}

}  // namespace

std::string normalizedChoice(const std::string& line) {
  std::string choice = trim(line);
  if (choice.size() == 1 && choice[0] >= 'a' && choice[0] <= 'z') choice[0] = static_cast<char>(choice[0] - 'a' + 'A');
  return choice;
}

HostSession::HostSession(Connection& connection, HostShared shared, int id)
    : connection_(connection), shared_(shared), id_(id) {}

bool HostSession::ask(const std::string& promptText, std::string* answer) {
  connection_.write(screens::prompt(promptText));
  return connection_.readLine(answer, [] {});
}

bool HostSession::askName() {
  std::string name;
  if (!ask(screens::kNamePrompt, &name)) return false;
  name = trim(cutToWidth(name, kLongestName));
  record_.name = name.empty() ? "손님" + std::to_string(id_) : name;
  connection_.write(screens::notice(record_.name + " 님, 반갑습니다 (welcome)"));
  return true;
}

void HostSession::run() {
  connection_.write(screens::welcome(connection_.terminalType(), connection_.codeType()));
  if (!askName()) return;
  for (;;) {
    connection_.write(screens::mainMenu());
    std::string line;
    if (!ask(screens::kMenuPrompt, &line)) return;
    std::string choice = normalizedChoice(line);
    bool stay = true;
    if (choice == "1") {
      stay = board();
    } else if (choice == "2") {
      stay = files();
    } else if (choice == "3") {
      stay = chat();
    } else if (choice == "K") {
      stay = changeCode();
    } else if (choice == "Q") {
      connection_.write("\r\n" + screens::notice(screens::kGoodbye));
      record_.quit = true;
      return;
    } else if (!choice.empty()) {
      connection_.write(screens::notice("잘못된 선택입니다 (no such choice)"));
    }
    if (!stay) return;
  }
}

bool HostSession::board() {
  std::size_t page = 0;
  for (;;) {
    std::vector<Post> posts = shared_.board.load();
    std::size_t pages = std::max<std::size_t>(1, (posts.size() + kPostsPerPage - 1) / kPostsPerPage);
    page = std::min(page, pages - 1);
    std::string out = "\r\n\x1b[1;32m[ 게시판 (Board) ]\x1b[0m  " + std::to_string(page + 1) + "/" +
                      std::to_string(pages) + " 쪽\r\n\x1b[36m번호  " + padded("글쓴이", 20) + " 제목\x1b[0m\r\n";
    // Newest first: page 0 holds the last kPostsPerPage posts.
    std::size_t shown = 0;
    for (std::size_t k = page * kPostsPerPage; k < posts.size() && shown < kPostsPerPage; ++k, ++shown) {
      const Post& p = posts[posts.size() - 1 - k];
      std::string number = std::to_string(p.number);
      out += std::string(number.size() < 4 ? 4 - number.size() : 0, ' ') + number + "  " + padded(p.author, 20) +
             " " + cutToWidth(p.title, 50) + "\r\n";
    }
    if (posts.empty()) out += "  (글이 없습니다: no posts yet)\r\n";
    connection_.write(out);
    std::string line;
    if (!ask(screens::kBoardPrompt, &line)) return false;
    std::string choice = normalizedChoice(line);
    if (choice == "Q") return true;
    if (choice == "N") {
      if (page + 1 < pages) ++page;
    } else if (choice == "P") {
      if (page > 0) --page;
    } else if (choice == "W") {
      if (!writePost()) return false;
      page = 0;
    } else if (long number = choiceNumber(choice)) {
      auto it = std::find_if(posts.begin(), posts.end(), [&](const Post& p) { return p.number == number; });
      if (it == posts.end()) {
        connection_.write(screens::notice("그런 글이 없습니다 (no such post)"));
      } else if (!readPosts(posts, static_cast<std::size_t>(it - posts.begin()))) {
        return false;
      }
    } else if (!choice.empty()) {
      connection_.write(screens::notice("잘못된 선택입니다 (no such choice)"));
    }
  }
}

void HostSession::showPost(const Post& post) {
  std::string out = "\r\n\x1b[1;32m" + std::to_string(post.number) + ". " + post.title + "\x1b[0m\r\n\x1b[36m" +
                    post.author + "  " + dateText(post.seconds) + "\x1b[0m\r\n";
  std::size_t start = 0;
  for (;;) {
    std::size_t end = post.body.find('\n', start);
    out += post.body.substr(start, end == std::string::npos ? std::string::npos : end - start) + "\r\n";
    if (end == std::string::npos) break;
    start = end + 1;
  }
  connection_.write(out);
}

// P goes to the older post, N to the newer one, Q back to the list.
bool HostSession::readPosts(const std::vector<Post>& posts, std::size_t index) {
  for (;;) {
    showPost(posts[index]);
    std::string line;
    if (!ask(screens::kReadPrompt, &line)) return false;
    std::string choice = normalizedChoice(line);
    if (choice == "Q") return true;
    if (choice == "P" && index > 0) {
      --index;
    } else if (choice == "N" && index + 1 < posts.size()) {
      ++index;
    } else if (choice == "P" || choice == "N") {
      connection_.write(screens::notice("더 없습니다 (no more posts)"));
    }
  }
}

bool HostSession::writePost() {
  std::string title;
  if (!ask(screens::kTitlePrompt, &title)) return false;
  title = trim(cutToWidth(title, kLongestTitle));
  if (title.empty()) {
    connection_.write(screens::notice("취소했습니다 (cancelled)"));
    return true;
  }
  connection_.write(screens::notice("내용을 쓰세요. '.' 만 있는 줄로 끝납니다 (end with a line holding only '.')"));
  std::string body;
  for (std::size_t n = 0; n < kMostBodyLines; ++n) {
    std::string line;
    if (!connection_.readLine(&line, [] {})) return false;
    if (trim(line) == ".") break;
    if (n > 0) body += '\n';
    body += line;
  }
  Post post;
  post.author = record_.name;
  post.title = title;
  post.body = body;
  if (!shared_.board.add(post)) {
    connection_.write(screens::notice("글을 저장하지 못했습니다 (the post could not be saved)"));
    return true;
  }
  ++record_.posts;
  connection_.write(screens::notice(std::to_string(post.number) + " 번 글이 올라갔습니다 (posted)"));
  return true;
}

bool HostSession::files() {
  for (;;) {
    std::vector<LibraryFile> list = shared_.library.list();
    std::string out = "\r\n\x1b[1;35m[ 자료실 (Files) ]\x1b[0m\r\n";
    for (std::size_t i = 0; i < list.size(); ++i) {
      std::string number = std::to_string(i + 1);
      out += std::string(number.size() < 4 ? 4 - number.size() : 0, ' ') + number + ". " +
             padded(list[i].name, 40) + " " + std::to_string(list[i].size) + " bytes\r\n";
    }
    if (list.empty()) out += "  (파일이 없습니다: no files)\r\n";
    out += "   U. 올리기 (Upload)   Q. 나가기 (Back)\r\n";
    connection_.write(out);
    std::string line;
    if (!ask(screens::kFilesPrompt, &line)) return false;
    std::string choice = normalizedChoice(line);
    if (choice == "Q") return true;
    if (choice == "U") {
      connection_.write("\r\n" + screens::notice(screens::kUploadStart));
      std::filesystem::path staging = shared_.library.makeStaging(std::to_string(id_));
      if (connection_.upload(staging)) {
        std::vector<std::string> names = shared_.library.commit(staging);
        record_.uploads += static_cast<int>(names.size());
        std::string done = "\r\n";
        for (const std::string& name : names) done += screens::notice("받았습니다 (received): " + name);
        connection_.write(done);
      } else {
        shared_.library.discard(staging);
        connection_.write("\r\n" + screens::notice(connection_.uploadTooLarge()
                                                       ? "너무 큽니다 (upload too large): 받지 않았습니다"
                                                       : "올리기를 마치지 못했습니다 (upload failed)"));
      }
      continue;
    }
    long number = choiceNumber(choice);
    if (number > 0 && static_cast<std::size_t>(number) <= list.size()) {
      const LibraryFile& file = list[static_cast<std::size_t>(number - 1)];
      bool ok = connection_.download(shared_.library.downloadPath(file));
      if (ok) ++record_.downloads;
      connection_.write("\r\n" + screens::notice(ok ? "보냈습니다 (sent): " + file.name
                                                     : "보내지 못했습니다 (download failed): " + file.name));
    } else if (!choice.empty()) {
      connection_.write(screens::notice("잘못된 선택입니다 (no such choice)"));
    }
  }
}

bool HostSession::chat() {
  ChatRoom& room = shared_.chat;
  room.enter(id_, record_.name, connection_.wakeFd());
  connection_.write("\r\n" + screens::notice(screens::kChatPrompt) + screens::notice(whoIsHere(room)));
  auto deliver = [&] {
    std::string out;
    for (const std::string& line : room.take(id_)) out += "\x1b[1;36m" + line + "\x1b[0m\r\n";
    if (!out.empty()) connection_.write(out);
  };
  deliver();
  for (;;) {
    std::string line;
    if (!connection_.readLine(&line, deliver)) {
      room.leave(id_);
      return false;
    }
    std::string text = trim(line);
    if (text == "/q" || text == "/Q") break;
    if (text == "/w" || text == "/W") {
      connection_.write(screens::notice(whoIsHere(room)));
    } else if (!text.empty()) {
      room.say(id_, text);
      ++record_.chatLines;
    }
    deliver();
  }
  room.leave(id_);
  return true;
}

bool HostSession::changeCode() {
  std::string line;
  if (!ask(screens::kCodePrompt, &line)) return false;
  long type = choiceNumber(normalizedChoice(line));
  if (type > 0 && type <= 9 && connection_.setCodeType(static_cast<int>(type))) {
    connection_.write(screens::notice("한글 코드 " + std::to_string(type) + " 입니다 (code set)"));
  } else {
    connection_.write(screens::notice("잘못된 코드입니다 (no such code)"));
  }
  return true;
}

}  // namespace kesta::host
