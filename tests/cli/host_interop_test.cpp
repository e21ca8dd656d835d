// kesta-cli host against real peers on 127.0.0.1: inetutils' telnet client,
// lrzsz's rz and sz behind a telnet user, several users at once, and users
// that send garbage, a huge line or go away in the middle of a transfer.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <random>

#include "cli/host/board_store.h"
#include "tests/cli/host_harness.h"

namespace kesta::host::test {
namespace {

namespace fs = std::filesystem;

class HostInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    std::signal(SIGPIPE, SIG_IGN);
    data_ = (dir_.path() / "data").string();
    host_ = std::make_unique<HostProcess>(data_, 6, (dir_.path() / "host.log").string());
    ASSERT_GT(host_->port(), 0) << host_->log();
  }
  void TearDown() override {
    if (host_) {
      EXPECT_EQ(host_->stop(), 0) << host_->log();
    }
  }
  // A user who has given a name and sees the main menu.
  std::unique_ptr<TelnetUser> login(const std::string& name, int code = 6) {
    auto user = std::make_unique<TelnetUser>(host_->port(), code);
    EXPECT_TRUE(user->connected());
    EXPECT_TRUE(user->waitFor("이름 (Name) > ")) << user->text();
    user->line(name);
    EXPECT_TRUE(user->waitFor("선택 (1,2,3,K,Q) > ")) << user->text();
    return user;
  }
  zlink::test::TempDir dir_;
  std::string data_;
  std::unique_ptr<HostProcess> host_;
};

TEST_F(HostInterop, InetutilsTelnetNegotiatesAndTheHostRecordsItsTerminalType) {
  std::string script = (dir_.path() / "typed.sh").string();
  {
    std::ofstream s(script);
    s << "printf 'Tester\\r\\n'; sleep 1; printf 'q\\r\\n'; sleep 1\n";
  }
  std::string out = (dir_.path() / "telnet.out").string();
  std::string command = "sh " + script + " | TERM=vt100 timeout 20 telnet 127.0.0.1 " +
                        std::to_string(host_->port()) + " > " + out + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << readFile(out);
  ASSERT_TRUE(host_->waitForLogLines(1)) << host_->log();
  std::string log = host_->log();
  EXPECT_NE(log.find("user=\"Tester\" terminal=VT100"), std::string::npos) << log;
  EXPECT_NE(log.find(" quit"), std::string::npos) << log;
  std::string screen = xlat::convert(xlat::Code::Cp949, xlat::Code::Utf8, readFile(out));
  EXPECT_NE(screen.find("케스타 시연 게시판"), std::string::npos);
  EXPECT_NE(screen.find("터미널 (terminal): \x1b[1;32mVT100"), std::string::npos);
  EXPECT_NE(screen.find("안녕히 가세요 (Goodbye)"), std::string::npos);
  for (const char* choice : {"1. 게시판 (Board)", "2. 자료실 (Files)", "3. 대화실 (Chat)", "Q. 끝내기 (Quit)"})
    EXPECT_NE(screen.find(choice), std::string::npos) << choice;
}

TEST_F(HostInterop, OpeningAsksForTheTerminalTypeAndOffersEchoAndSuppressGoAhead) {
  int fd = connectTo(host_->port());
  ASSERT_GE(fd, 0);
  std::string got;
  for (int i = 0; i < 100 && got.size() < 9; ++i) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char b[64];
    ssize_t n = ::recv(fd, b, sizeof b, 0);
    if (n <= 0) break;
    got.append(b, static_cast<std::size_t>(n));
  }
  EXPECT_EQ(got.substr(0, 9), std::string("\xFF\xFD\x18\xFF\xFB\x01\xFF\xFB\x03", 9));
  // Agreeing to send the type is answered with SB TERMINAL-TYPE SEND.
  sendAll(fd, "\xFF\xFB\x18");
  std::string more;
  for (int i = 0; i < 100 && more.find("\xFF\xF0") == std::string::npos; ++i) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char b[64];
    ssize_t n = ::recv(fd, b, sizeof b, 0);
    if (n <= 0) break;
    more.append(b, static_cast<std::size_t>(n));
  }
  EXPECT_NE(more.find(std::string("\xFF\xFA\x18\x01\xFF\xF0", 6)), std::string::npos);
  ::close(fd);
}

// The binary file holds every byte value, so 0xFF must cross doubled.
TEST_F(HostInterop, DownloadsArriveIdenticalInLrzszRz) {
  auto user = login("받는이");
  user->line("2");
  ASSERT_TRUE(user->waitFor("받을 파일 번호 또는 (U,Q) > ")) << user->text();
  ASSERT_NE(user->text().find("bytes.bin"), std::string::npos);
  ASSERT_NE(user->text().find("readme.txt"), std::string::npos);
  for (const char* choice : {"1", "2"}) {  // sorted: bytes.bin, readme.txt
    user->line(choice);
    ASSERT_TRUE(user->waitFor("rz\r")) << user->text();
    zlink::test::TempDir into;
    EXPECT_EQ(user->transfer({"rz", "-q", "-y"}, into.str()), 0);
    std::string name = std::string(choice) == "1" ? "bytes.bin" : "readme.txt";
    EXPECT_TRUE(user->waitFor("보냈습니다 (sent): " + name)) << user->text();
    EXPECT_EQ(readFile((into.path() / name).string()), readFile(data_ + "/files/" + name)) << name;
    EXPECT_TRUE(user->waitFor("받을 파일 번호 또는 (U,Q) > "));
  }
  EXPECT_GT(readFile(data_ + "/files/bytes.bin").size(), 1000u);
  user->line("q");
  user->line("q");
  ASSERT_TRUE(host_->waitForLogLines(1));
  EXPECT_NE(host_->log().find("downloads=2"), std::string::npos) << host_->log();
}

TEST_F(HostInterop, UploadsFromLrzszSzLandInTheUploadFolderWithoutReplacingAnything) {
  zlink::test::TempDir from;
  std::string content;
  std::mt19937 random(19);
  for (int i = 0; i < 50000; ++i) content += static_cast<char>(random() & 0xFF);
  {
    std::ofstream f(from.path() / "up.bin", std::ios::binary);
    f << content;
  }
  {
    std::ofstream f(fs::path(data_) / "upload" / "up.bin", std::ios::binary);
    f << "an earlier upload";
  }
  auto user = login("보내는이");
  user->line("2");
  ASSERT_TRUE(user->waitFor("(U,Q) > "));
  user->line("u");
  ASSERT_TRUE(user->waitFor("start your ZMODEM upload now")) << user->text();
  EXPECT_EQ(user->transfer({"sz", "-q", "up.bin"}, from.str()), 0);
  ASSERT_TRUE(user->waitFor("받았습니다 (received): up.1.bin")) << user->text();
  EXPECT_EQ(readFile(data_ + "/upload/up.1.bin"), content);
  EXPECT_EQ(readFile(data_ + "/upload/up.bin"), "an earlier upload");
  // No staging folder stays behind.
  int entries = 0;
  for (auto& e : fs::directory_iterator(fs::path(data_) / "upload")) entries += e.path().filename().string()[0] == '.';
  EXPECT_EQ(entries, 0);
}

TEST_F(HostInterop, ChatLinesGoBetweenUsersConnectedAtTheSameTime) {
  auto a = login("가나");
  auto b = login("다라");
  a->line("3");
  ASSERT_TRUE(a->waitFor("/q 나가기"));
  b->line("3");
  ASSERT_TRUE(b->waitFor("/q 나가기"));
  ASSERT_TRUE(a->waitFor("* 다라 님이 들어왔습니다 (joined)")) << a->text();
  b->line("안녕하세요, 가나 님");
  EXPECT_TRUE(a->waitFor("[다라] 안녕하세요, 가나 님")) << a->text();
  a->line("반가워요");
  EXPECT_TRUE(b->waitFor("[가나] 반가워요")) << b->text();
  b->line("/w");
  EXPECT_TRUE(b->waitFor("(here): 가나, 다라")) << b->text();
  b->line("/q");
  EXPECT_TRUE(a->waitFor("* 다라 님이 나갔습니다 (left)")) << a->text();
  EXPECT_TRUE(b->waitFor("선택 (1,2,3,K,Q) > "));
}

// A post in code 6 read back by a user in code 1 (johab), and by a second
// host in code 1 over the same data directory.
TEST_F(HostInterop, PostWrittenInOneCodeIsReadInAnother) {
  auto writer = login("글쓴이");
  writer->line("1");
  ASSERT_TRUE(writer->waitFor("(P,N,W,Q) > "));
  writer->line("w");
  ASSERT_TRUE(writer->waitFor("제목 (Title) > "));
  writer->line("한글 인사");
  writer->line("첫 줄입니다, 똠방각하");
  writer->line("둘째 줄");
  writer->line(".");
  ASSERT_TRUE(writer->waitFor("1 번 글이 올라갔습니다 (posted)")) << writer->text();

  auto reader = login("읽는이");
  reader->line("k");
  ASSERT_TRUE(reader->waitFor("(1-9, 9 = UTF-8) > "));
  reader->line("1");
  // From here on the reader's text is johab: its harness still reads code 6,
  // so compare the raw bytes with the johab form.
  auto johab = [](const std::string& utf8) { return xlat::convert(xlat::Code::Utf8, xlat::Code::Johab, utf8); };
  std::size_t rawBefore = reader->raw().size();
  ASSERT_TRUE(reader->waitForRaw(johab("한글 코드 1 입니다 (code set)"), rawBefore));
  reader->line("1");
  reader->line("1");
  ASSERT_TRUE(reader->waitForRaw(johab("둘째 줄"), rawBefore));
  std::string after = reader->raw().substr(rawBefore);
  EXPECT_NE(after.find(johab("1. 한글 인사")), std::string::npos);
  EXPECT_NE(after.find(johab("첫 줄입니다, 똠방각하\r\n둘째 줄")), std::string::npos);

  HostProcess second(data_, 1, (dir_.path() / "second.log").string());
  ASSERT_GT(second.port(), 0);
  TelnetUser other(second.port(), 1);
  ASSERT_TRUE(other.waitFor("이름 (Name) > "));
  other.line("조합");
  other.line("1");
  ASSERT_TRUE(other.waitFor("(P,N,W,Q) > "));
  EXPECT_NE(other.text().find("   1  글쓴이"), std::string::npos) << other.text();
  other.line("1");
  EXPECT_TRUE(other.waitFor("첫 줄입니다, 똠방각하\r\n둘째 줄")) << other.text();
  EXPECT_EQ(second.stop(), 0);
}

// A UTF-8 host with a UTF-8 user and a code page 949 user at once: each
// reads the other's post.
TEST_F(HostInterop, Utf8AndCodePage949UsersReadEachOthersPosts) {
  HostProcess host(data_, 9, (dir_.path() / "utf8.log").string());
  ASSERT_GT(host.port(), 0);
  TelnetUser modern(host.port(), 9), old(host.port(), 9);
  auto post = [](TelnetUser& user, const std::string& name, const std::string& title, const std::string& body) {
    ASSERT_TRUE(user.waitFor("이름 (Name) > "));
    user.line(name);
    user.line("1");
    ASSERT_TRUE(user.waitFor("(P,N,W,Q) > "));
    user.line("w");
    ASSERT_TRUE(user.waitFor("제목 (Title) > "));
    user.line(title);
    user.line(body);
    user.line(".");
    ASSERT_TRUE(user.waitFor("번 글이 올라갔습니다 (posted)")) << user.text();
  };
  post(modern, "유니", "유니코드 글", "똠방각하 햏 ★");
  // The second user turns to code 6 first; its harness then reads code 6.
  ASSERT_TRUE(old.waitFor("이름 (Name) > "));
  old.line("완성");
  old.line("k");
  ASSERT_TRUE(old.waitFor("(1-9, 9 = UTF-8) > "));
  old.line("6");
  old.setCode(6);
  ASSERT_TRUE(old.waitFor("한글 코드 6 입니다 (code set)")) << old.text();
  old.line("1");
  ASSERT_TRUE(old.waitFor("(P,N,W,Q) > "));
  old.line("1");
  EXPECT_TRUE(old.waitFor("똠방각하 햏 ★")) << old.text();
  old.line("q");
  old.line("w");
  ASSERT_TRUE(old.waitFor("제목 (Title) > "));
  old.line("완성형 글");
  old.line("漢字 갂 ※");
  old.line(".");
  ASSERT_TRUE(old.waitFor("2 번 글이 올라갔습니다 (posted)")) << old.text();
  modern.line("q");
  modern.line("1");
  ASSERT_TRUE(modern.waitFor("완성형 글")) << modern.text();
  modern.line("2");
  EXPECT_TRUE(modern.waitFor("漢字 갂 ※")) << modern.text();
  // What reached the UTF-8 user is UTF-8 on the wire.
  EXPECT_NE(modern.raw().find("漢字 갂 ※"), std::string::npos);
  EXPECT_EQ(host.stop(), 0);
}

TEST_F(HostInterop, EchoesTypingAndTakesEveryLineEndAndBackspace) {
  auto user = std::make_unique<TelnetUser>(host_->port(), 6);
  ASSERT_TRUE(user->waitFor("이름 (Name) > "));
  // "가나" then Backspace (a two-cell character), "다" and a bare CR.
  std::string typed = xlat::convert(xlat::Code::Utf8, xlat::Code::Cp949, "가나") + "\b" +
                      xlat::convert(xlat::Code::Utf8, xlat::Code::Cp949, "다") + "\r";
  sendAll(user->fd(), typed);
  EXPECT_TRUE(user->waitFor("가나\b\b  \b\b다\r\n")) << user->text();
  EXPECT_TRUE(user->waitFor("가다 님, 반갑습니다")) << user->text();
  // CR NUL, bare LF and CR LF each end one line: three menu answers.
  sendAll(user->fd(), std::string("x\r\0y\nz\r\n", 9));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(user->waitFor("잘못된 선택입니다")) << i << user->text();
}

TEST_F(HostInterop, GarbageAHugeLineAndAClientGoneMidTransferLeaveTheHostAndItsFilesIntact) {
  {
    auto writer = login("기록");
    writer->line("1");
    writer->line("w");
    writer->line("남을 글");
    writer->line("그대로");
    writer->line(".");
    ASSERT_TRUE(writer->waitFor("1 번 글이 올라갔습니다"));
  }
  std::string boardBefore = readFile(data_ + "/board.txt");
  std::string fileBefore = readFile(data_ + "/files/bytes.bin");

  std::mt19937 random(7);
  struct Case {
    const char* what;
    std::function<std::string()> bytes;
  };
  const std::vector<Case> cases = {
      {"random bytes", [&] {
         std::string s;
         for (int i = 0; i < 200000; ++i) s += static_cast<char>(random() & 0xFF);
         return s;
       }},
      {"an endless subnegotiation", [] { return std::string("\xFF\xFA\x18\x00", 4) + std::string(100000, 'A'); }},
      {"a 2 MB line", [] { return std::string(2 << 20, 'x') + "\r\n"; }},
      {"lead bytes only", [] { return std::string(100000, '\xB0'); }},
  };
  for (const Case& c : cases) {
    int fd = connectTo(host_->port());
    ASSERT_GE(fd, 0) << c.what;
    sendAll(fd, c.bytes());
    ::close(fd);
  }
  // A download abandoned half-way: the user reads a little and hangs up.
  {
    auto user = login("도망");
    user->line("2");
    ASSERT_TRUE(user->waitFor("(U,Q) > "));
    user->line("1");
    ASSERT_TRUE(user->waitFor("rz\r"));
    user->close();
  }
  // An upload abandoned half-way.
  {
    auto user = login("도망2");
    user->line("2");
    ASSERT_TRUE(user->waitFor("(U,Q) > "));
    user->line("u");
    ASSERT_TRUE(user->waitFor("start your ZMODEM upload now"));
    zlink::test::TempDir from;
    {
      std::ofstream f(from.path() / "big.bin", std::ios::binary);
      f << std::string(4 << 20, 'z');
    }
    // sz gets 100 KB through, then the user is gone.
    zlink::test::SocketPair pair;
    zlink::test::Child sz({"sz", "-q", "big.bin"}, from.str(), pair.fd[1]);
    pair.closeEnd(1);
    zlink::TelnetDecoder decoder;
    auto end = Clock::now() + std::chrono::seconds(10);
    std::size_t relayed = 0;
    while (Clock::now() < end && relayed < 100000) {
      pollfd p[2] = {{user->fd(), POLLIN, 0}, {pair.fd[0], POLLIN, 0}};
      if (::poll(p, 2, 20) <= 0) continue;
      uint8_t block[8192];
      if (p[0].revents & POLLIN) {
        ssize_t n = ::recv(user->fd(), block, sizeof block, 0);
        if (n <= 0) break;
        sendAll(pair.fd[0], std::string(reinterpret_cast<char*>(block), decoder.decode(block, static_cast<size_t>(n))));
      }
      if (p[1].revents & POLLIN) {
        ssize_t n = ::recv(pair.fd[0], block, sizeof block, 0);
        if (n <= 0) break;
        std::vector<uint8_t> wire;
        zlink::telnetEncode(block, static_cast<size_t>(n), wire);
        sendAll(user->fd(), std::string(wire.begin(), wire.end()));
        relayed += wire.size();
      }
    }
    EXPECT_GE(relayed, 100000u);
    user->close();
    pair.closeEnd(0);
    sz.wait(10);
  }
  ASSERT_TRUE(host_->waitForLogLines(7, 30)) << host_->log();
  EXPECT_TRUE(host_->running());
  // Random lines may wander the menus and even post; what was there stays,
  // and every line of the board still parses.
  std::string boardAfter = readFile(data_ + "/board.txt");
  EXPECT_EQ(boardAfter.substr(0, boardBefore.size()), boardBefore);
  std::istringstream lines(boardAfter);
  for (std::string line; std::getline(lines, line);) {
    Post post;
    EXPECT_TRUE(parsePost(line, &post)) << line;
  }
  EXPECT_EQ(readFile(data_ + "/files/bytes.bin"), fileBefore);
  std::string leftInUpload;
  for (auto& e : fs::recursive_directory_iterator(fs::path(data_) / "upload")) leftInUpload += e.path().string() + "\n";
  EXPECT_EQ(leftInUpload, "") << host_->log();
  // And the host still serves.
  auto after = login("다음");
  after->line("1");
  EXPECT_TRUE(after->waitFor("남을 글")) << after->text();
}

TEST_F(HostInterop, SeventeenthUserIsTurnedAwayAndTheNextOneServedWhenASeatFrees) {
  std::vector<std::unique_ptr<TelnetUser>> users;
  for (int i = 0; i < 16; ++i) {
    users.push_back(std::make_unique<TelnetUser>(host_->port(), 6));
    ASSERT_TRUE(users.back()->waitFor("이름 (Name) > ")) << i;
  }
  TelnetUser extra(host_->port(), 6);
  EXPECT_TRUE(extra.waitFor("Too many users now")) << extra.text();
  users.front()->close();
  ASSERT_TRUE(host_->waitForLogLines(2));
  auto end = Clock::now() + std::chrono::seconds(10);
  bool served = false;
  while (!served && Clock::now() < end) {  // the freed seat is reaped within a poll round
    TelnetUser next(host_->port(), 6);
    served = next.waitFor("이름 (Name) > ", 2);
  }
  EXPECT_TRUE(served);
}

// A terminal starts a download on every "rz\r" it sees: the one the sender
// puts before its ZRQINIT must be the only one.
TEST_F(HostInterop, ADownloadIsAnnouncedByOneRzOnly) {
  auto user = login("한번");
  user->line("2");
  ASSERT_TRUE(user->waitFor("(U,Q) > "));
  std::size_t from = user->raw().size();
  user->line("1");
  const std::string zrqinit = "**\x18" "B00";
  ASSERT_TRUE(user->waitForRaw(zrqinit, from)) << user->text();
  std::string before = user->raw().substr(from, user->raw().find(zrqinit, from) - from);
  std::size_t count = 0;
  for (std::size_t at = before.find("rz\r"); at != std::string::npos; at = before.find("rz\r", at + 1)) ++count;
  EXPECT_EQ(count, 1u) << before;
}

TEST_F(HostInterop, StoppingEndsSessionsAndATransferInProgress) {
  auto idle = login("대기");
  auto downloading = login("받는중");
  downloading->line("2");
  ASSERT_TRUE(downloading->waitFor("(U,Q) > "));
  downloading->line("1");
  ASSERT_TRUE(downloading->waitFor("rz\r"));  // no rz answers: the sender waits
  EXPECT_EQ(host_->stop(), 0);
  std::string log = host_->log();
  EXPECT_NE(log.find("user=\"대기\""), std::string::npos) << log;
  EXPECT_NE(log.find("downloads=0 uploads=0 chat=0 host stopping"), std::string::npos) << log;
  EXPECT_NE(log.find("kesta-cli host: stopped"), std::string::npos) << log;
  host_.reset();
}

TEST_F(HostInterop, AnUploadPastTheLimitIsStoppedAndLeavesNothing) {
  host_->stop();
  host_ = std::make_unique<HostProcess>(data_, 6, (dir_.path() / "limited.log").string(),
                                        std::vector<std::string>{"--max-upload", "1"});
  ASSERT_GT(host_->port(), 0) << host_->log();
  zlink::test::TempDir from;
  {
    std::ofstream f(from.path() / "large.bin", std::ios::binary);
    f << std::string(3 << 20, 'L');
  }
  auto user = login("큰파일");
  user->line("2");
  ASSERT_TRUE(user->waitFor("(U,Q) > "));
  user->line("u");
  ASSERT_TRUE(user->waitFor("start your ZMODEM upload now"));
  EXPECT_NE(user->transfer({"sz", "-q", "large.bin"}, from.str(), 30), 0);
  EXPECT_TRUE(user->waitFor("너무 큽니다 (upload too large)")) << user->text();
  EXPECT_TRUE(user->waitFor("(U,Q) > ")) << user->text();
  EXPECT_TRUE(fs::is_empty(fs::path(data_) / "upload"));
}

// Every host code: the welcome screen and a Korean name typed back.
TEST_F(HostInterop, EveryHostCodeShowsAndTakesHangul) {
  for (int code : {1, 5, 6, 7, 9}) {
    HostProcess host(data_, code, (dir_.path() / ("code" + std::to_string(code) + ".log")).string());
    ASSERT_GT(host.port(), 0) << code;
    TelnetUser user(host.port(), code);
    EXPECT_TRUE(user.waitFor("케스타 시연 게시판")) << code << user.text();
    EXPECT_TRUE(user.waitFor("한글 코드 (code): \x1b[1;32m" + std::to_string(code))) << code;
    ASSERT_TRUE(user.waitFor("이름 (Name) > ")) << code;
    user.line("김한글");
    EXPECT_TRUE(user.waitFor("김한글 님, 반갑습니다")) << code << user.text();
    EXPECT_TRUE(user.waitFor("1. 게시판 (Board)")) << code;
    user.line("q");
    ASSERT_TRUE(host.waitForLogLines(1)) << code;
    EXPECT_NE(host.log().find("user=\"김한글\""), std::string::npos) << code << host.log();
    EXPECT_EQ(host.stop(), 0) << code;
  }
}

}  // namespace
}  // namespace kesta::host::test
